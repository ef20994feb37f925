#pragma once

#include "common/AppError.h"

#include <functional>

namespace vantelo::test {

// The failure number f raised, or 0 when it returned normally. Keeps a raised AppError from
// escaping a test function, where it would abort the whole test program.
inline int failureOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

} // namespace vantelo::test

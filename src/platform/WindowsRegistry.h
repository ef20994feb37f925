#pragma once

#include "platform/Platform.h"

#ifdef Q_OS_WIN

namespace vantelo {

// The real registry, through its ANSI functions.
class WindowsRegistry : public Registry
{
public:
    long openKey(std::uint32_t root, const QString& keyName, std::uint32_t accessMask,
                 std::uintptr_t& keyHandle) override;
    long queryValue(std::uintptr_t keyHandle, const QString& valueName, std::uint32_t& type, QByteArray& buffer,
                    std::uint32_t& length) override;
    long closeKey(std::uintptr_t keyHandle) override;
};

} // namespace vantelo

#endif

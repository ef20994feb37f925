#pragma once

#include "platform/Platform.h"

#ifdef Q_OS_WIN

namespace vantelo {

// The real registry, through its ANSI functions.
class WindowsRegistry : public Registry
{
public:
    std::optional<RegistryValue> readValue(std::uint32_t root, const QString& keyName,
                                           const QString& valueName) override;
};

} // namespace vantelo

#endif

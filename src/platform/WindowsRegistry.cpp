#include "platform/WindowsRegistry.h"

#ifdef Q_OS_WIN

#include <windows.h>

namespace vantelo {

std::optional<RegistryValue> WindowsRegistry::readValue(std::uint32_t root, const QString& keyName,
                                                        const QString& valueName)
{
    // The predefined roots are negative 32-bit numbers, widened with their sign on 64-bit builds.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    HKEY key = nullptr;
    // Read control and every key-specific right, as the system information lookup has always asked.
    if (RegOpenKeyExA(rootKey, keyName.toLocal8Bit().constData(), 0, 0x2003F, &key) != ERROR_SUCCESS)
        return std::nullopt;
    const QByteArray name = valueName.toLocal8Bit();
    DWORD type = 0;
    DWORD size = 0;
    std::optional<RegistryValue> value;
    if (RegQueryValueExA(key, name.constData(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        QByteArray bytes(static_cast<qsizetype>(size), '\0');
        if (RegQueryValueExA(key, name.constData(), nullptr, &type, reinterpret_cast<LPBYTE>(bytes.data()), &size) ==
            ERROR_SUCCESS) {
            bytes.truncate(static_cast<qsizetype>(size));
            value = RegistryValue{type, bytes};
        }
    }
    RegCloseKey(key);
    return value;
}

} // namespace vantelo
#endif

#include "platform/WindowsRegistry.h"

#ifdef Q_OS_WIN

#include <windows.h>

namespace vantelo {

namespace {

HKEY toKey(std::uintptr_t handle)
{
    return reinterpret_cast<HKEY>(handle);
}

} // namespace

long WindowsRegistry::openKey(std::uint32_t root, const QString& keyName, std::uint32_t accessMask,
                              std::uintptr_t& keyHandle)
{
    // The predefined roots are negative 32-bit numbers, widened with their sign on 64-bit builds.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(rootKey, keyName.toLocal8Bit().constData(), 0, accessMask, &opened);
    keyHandle = result == ERROR_SUCCESS ? reinterpret_cast<std::uintptr_t>(opened) : 0;
    return result;
}

long WindowsRegistry::queryValue(std::uintptr_t keyHandle, const QString& valueName, std::uint32_t& type,
                                 QByteArray& buffer, std::uint32_t& length)
{
    DWORD valueType = 0;
    DWORD size = static_cast<DWORD>(buffer.size());
    const LONG result = RegQueryValueExA(toKey(keyHandle), valueName.toLocal8Bit().constData(), nullptr, &valueType,
                                         reinterpret_cast<LPBYTE>(buffer.data()), &size);
    type = valueType;
    length = size;
    return result;
}

long WindowsRegistry::closeKey(std::uintptr_t keyHandle)
{
    return RegCloseKey(toKey(keyHandle));
}

} // namespace vantelo

#endif

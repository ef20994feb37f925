#pragma once

#include "platform/Platform.h"

#include <QString>

#include <cstdint>

class QWidget;

// Finding and starting the operating system's system information tool, as the About box's
// "System Info..." button does. No widgets here: the window only hands in its platform and itself.
namespace vantelo {

// The registry reader's buffer, in bytes; a longer value is not found.
inline constexpr int RegistryBufferSize = 1024;

// Where the tool is looked for, in this order, below the local-machine root.
inline const QString SysInfoPathKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
inline const QString SysInfoPathValue = QStringLiteral("PATH");
inline const QString SysInfoFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
inline const QString SysInfoFolderValue = QStringLiteral("MSINFO");
inline const QString SysInfoProgramName = QStringLiteral("MSINFO32.EXE");

inline const QString SysInfoUnavailableText = QStringLiteral("System Information Is Unavailable At This Time");

// Reads the value SubKeyRef of the key KeyName under KeyRoot as text into KeyVal. True when the key
// opened and the value was read. A failed open or read gives false with KeyVal empty; a value of
// a type other than string or double word leaves KeyVal as passed. A value of length zero is not
// a failed read but an error: AppError 5.
bool GetKeyValue(Registry& registry, std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                 QString& KeyVal);

// Starts the system information tool named by the registry, or tells the user, over parent, that
// it is unavailable. Never throws.
void StartSysInfo(Platform& platform, QWidget* parent);

} // namespace vantelo

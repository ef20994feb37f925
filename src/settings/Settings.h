#pragma once

#include <QString>

// The program's six settings: text values under the application "Personal Vantelo" and the
// section "Settings" of the per-user store. On Linux the store is the INI file
// "Personal Vantelo.conf" in the user's config folder ($XDG_CONFIG_HOME, else ~/.config).
namespace vantelo {

namespace SettingKey {
inline const QString ScreenWidth = QStringLiteral("ScreenWidth");
inline const QString ScreenHeight = QStringLiteral("ScreenHeight");
inline const QString BackColor = QStringLiteral("BackColor");
inline const QString File = QStringLiteral("File");
inline const QString Delay = QStringLiteral("Delay");
inline const QString ShowType = QStringLiteral("ShowType");
} // namespace SettingKey

inline const QString SettingsApplication = QStringLiteral("Personal Vantelo");
inline const QString SettingsSection = QStringLiteral("Settings");

// The stored text of key, or defaultValue when the key was never written. A key written as
// empty text reads back empty, not as the default.
QString GetSetting(const QString& key, const QString& defaultValue = QString());

// Stores value under key and writes it through to disk at once.
void SaveSetting(const QString& key, const QString& value);

// Where the store lives, looked up afresh on each call so that tests can point it elsewhere.
QString settingsFilePath();

} // namespace vantelo

#pragma once

#include <QString>

// The program's six settings: text values under the application "Personal Vantelo" and the
// section "Settings" of the per-user store. On Linux the store is the INI file
// "Personal Vantelo.conf" in the user's config folder ($XDG_CONFIG_HOME when it is absolute, else ~/.config).
namespace vantelo {

// A key and the default its readers pass; each reader converts the text itself.
struct SettingKey
{
    QString name;
    QString readerDefault;

    static const SettingKey ScreenWidth;
    static const SettingKey ScreenHeight;
    static const SettingKey BackColor;
    static const SettingKey File;
    static const SettingKey Delay;
    static const SettingKey ShowType;
};

// The two words "ShowType" holds; the show takes any other text for random order.
inline const QString OrderedShowType = QStringLiteral("Ordered");
inline const QString RandomShowType = QStringLiteral("Random");

inline const QString SettingsApplication = QStringLiteral("Personal Vantelo");
inline const QString SettingsSection = QStringLiteral("Settings");

// The stored text of key, or the key's reader default when it was never written. A key written as
// empty text reads back empty, not as the default.
QString GetSetting(const SettingKey& key);

// Stores value under key and writes it through to disk at once.
void SaveSetting(const SettingKey& key, const QString& value);

// Where the store lives, looked up afresh on each call so that tests can point it elsewhere.
QString settingsFilePath();

} // namespace vantelo

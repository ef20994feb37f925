#include "settings/Settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace vantelo {

const SettingKey SettingKey::ScreenWidth{QStringLiteral("ScreenWidth"), QStringLiteral("800")};
const SettingKey SettingKey::ScreenHeight{QStringLiteral("ScreenHeight"), QStringLiteral("600")};
const SettingKey SettingKey::BackColor{QStringLiteral("BackColor"), QStringLiteral("0")};
const SettingKey SettingKey::File{QStringLiteral("File"), QString()};
const SettingKey SettingKey::Delay{QStringLiteral("Delay"), QStringLiteral("5")};
const SettingKey SettingKey::ShowType{QStringLiteral("ShowType"), OrderedShowType};

namespace {

QSettings openStore()
{
    return QSettings(settingsFilePath(), QSettings::IniFormat);
}

QString groupedKey(const SettingKey& key)
{
    return SettingsSection + u'/' + key.name;
}

} // namespace

QString settingsFilePath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Qt takes a relative XDG_CONFIG_HOME as it is; the XDG rules say to ignore it.
    if (QDir::isRelativePath(folder))
        folder.clear();
#endif
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.config");
    return QDir(folder).filePath(SettingsApplication + QStringLiteral(".conf"));
}

QString GetSetting(const SettingKey& key)
{
    const QSettings store = openStore();
    const QVariant value = store.value(groupedKey(key));
    if (!value.isValid())
        return key.readerDefault;
    // The INI reader turns an unquoted, hand-written "a, b" into a list; give the text back whole.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void SaveSetting(const SettingKey& key, const QString& value)
{
    QSettings store = openStore();
    // Stored as a QString so the INI writer quotes and escapes it; it reads back exactly.
    store.setValue(groupedKey(key), QVariant(value));
    store.sync();
}

} // namespace vantelo

#include "settings/Settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace vantelo {
namespace {

QSettings openStore()
{
    return QSettings(settingsFilePath(), QSettings::IniFormat);
}

QString groupedKey(const QString& key)
{
    return SettingsSection + u'/' + key;
}

} // namespace

QString settingsFilePath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.config");
    return QDir(folder).filePath(SettingsApplication + QStringLiteral(".conf"));
}

QString GetSetting(const QString& key, const QString& defaultValue)
{
    const QSettings store = openStore();
    const QVariant value = store.value(groupedKey(key));
    if (!value.isValid())
        return defaultValue;
    // The INI reader turns an unquoted, hand-written "a, b" into a list; give the text back whole.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void SaveSetting(const QString& key, const QString& value)
{
    QSettings store = openStore();
    // Stored as a QString so the INI writer quotes and escapes it; it reads back exactly.
    store.setValue(groupedKey(key), QVariant(value));
    store.sync();
}

} // namespace vantelo

#pragma once

#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>

// Files a test sets up or looks at: settings and raw bytes. Header-only, for tests that link the settings.
namespace vantelo::test {

// Stores each "Key=value" (the value may be empty) in the private settings of the test.
inline void storeSettings(const QStringList& settings)
{
    QSettings store(settingsFilePath(), QSettings::IniFormat);
    for (const QString& setting : settings)
        store.setValue(QStringLiteral("Settings/") + setting.section(u'=', 0, 0), setting.section(u'=', 1));
}

// Whether the key was ever written: a reader gets its default either way.
inline bool isStored(const QString& key)
{
    return QSettings(settingsFilePath(), QSettings::IniFormat).contains(QStringLiteral("Settings/") + key);
}

// The path of the file written, or an empty text when it could not be written.
inline QString writeBytes(const QString& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace vantelo::test

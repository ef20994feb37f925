#pragma once

#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QSettings>

// Files a test sets up or reads back: raw bytes and settings.
namespace vantelo::test {

// The file's bytes, or "<unreadable>".
inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
// The path of the file written, or an empty text when it could not be written.
inline QString writeBytes(const QString& folder, const QString& name, const QByteArray& bytes)
{
    QFile file(QDir(folder).filePath(name));
    const bool written = QDir().mkpath(folder) && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    return written ? file.fileName() : QString();
}
inline QString writeSettingsFile(const QByteArray& bytes)
{
    return writeBytes(QFileInfo(settingsFilePath()).path(), QFileInfo(settingsFilePath()).fileName(), bytes);
}
// Stores each "Key=value".
inline void storeSettings(const QStringList& settings)
{
    QSettings store(settingsFilePath(), QSettings::IniFormat);
    for (const QString& setting : settings)
        store.setValue(u"Settings/"_qs + setting.section(u'=', 0, 0), setting.section(u'=', 1));
}

} // namespace vantelo::test

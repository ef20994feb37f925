#pragma once

#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QStringList>

// Files a test sets up: settings and raw bytes. Header-only, for tests that link the settings.
namespace vantelo::test {

// Stores each "Key=value" (the value may be empty) in the private settings of the test.
inline void storeSettings(const QStringList& settings)
{
    for (const QString& setting : settings)
        SaveSetting(setting.section(u'=', 0, 0), setting.section(u'=', 1));
}

// The path of the file written, or an empty text when it could not be written.
inline QString writeBytes(const QString& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

} // namespace vantelo::test

#include "reading/MountTable.h"

#include <QDir>
#include <QFile>
#ifndef Q_OS_LINUX
#include <QStorageInfo>
#endif

namespace vantelo {
namespace {

// A field as the mount table writes it: blanks, tabs, newlines and backslashes as octal escapes.
QString unescapedField(const QByteArray& field)
{
    QByteArray text;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                text += char(code);
                i += 3;
                continue;
            }
        }
        text += field[i];
    }
    return QFile::decodeName(text);
}

} // namespace

QList<MountedFileSystem> mountTable()
{
    QList<MountedFileSystem> mounts;
#ifdef Q_OS_LINUX
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return mounts;
    // "id parent major:minor root mount-point options [optional fields...] - type source super-options"
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-");
        if (fields.size() > 4 && separator > 4 && separator + 1 < fields.size())
            mounts.append({unescapedField(fields[4]), fields[separator + 1],
                           separator + 2 < fields.size() ? QFile::encodeName(unescapedField(fields[separator + 2]))
                                                         : QByteArray()});
    }
#else
    // Elsewhere the system's own list of volumes serves.
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        mounts.append({volume.rootPath(), volume.fileSystemType(), volume.device()});
#endif
    return mounts;
}

QString mountPointOf(const QString& path, const QList<MountedFileSystem>& mounts)
{
    const QString cleaned = QDir::cleanPath(path);
    QString best;
    for (const MountedFileSystem& mount : mounts) {
        const QString& point = mount.mountPoint;
        const bool under = point == QLatin1String("/") || cleaned == point || cleaned.startsWith(point + u'/');
        if (under && point.size() > best.size())
            best = point;
    }
    return best;
}

} // namespace vantelo

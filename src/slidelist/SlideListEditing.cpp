#include "slidelist/SlideListEditing.h"

#include "reading/Storage.h"

#include <QDir>
#include <QFileInfo>

namespace vantelo {

QString slideFolderText(const QString& browserFolder)
{
    return QDir::toNativeSeparators(browserFolder) + QDir::separator();
}

SlideRows droppedPictureRows(const QStringList& paths)
{
    static const QStringList pictureNames{QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
                                          QStringLiteral("*.gif")};
    SlideRows rows;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (lookAt(path).isFolder) {
            const QString folder = slideFolderText(QDir::cleanPath(info.absoluteFilePath()));
            for (const QString& name : namesInFolder(path, false, pictureNames))
                rows.append({folder, name, QString(), QString()});
        } else if (QDir::match(pictureNames, info.fileName())) {
            rows.append({slideFolderText(info.absolutePath()), info.fileName(), QString(), QString()});
        }
    }
    return rows;
}

QList<RowRun> selectedRunsLastFirst(const QList<bool>& selected)
{
    QList<RowRun> runs;
    int position = int(selected.size()) - 1;
    while (position >= 0) {
        if (!selected[position]) {
            --position;
            continue;
        }
        const int last = position;
        while (position >= 0 && selected[position])
            --position;
        runs.append({position + 1, last - position});
    }
    return runs;
}

} // namespace vantelo

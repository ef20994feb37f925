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
            int error = 0;
            for (const QString& name : namesInFolder(path, false, pictureNames, error))
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

SlideRowBatcher::SlideRowBatcher(std::chrono::milliseconds interval, Deliver deliver)
    : m_interval(interval), m_deliver(std::move(deliver))
{
    m_sinceBatch.start();
}

void SlideRowBatcher::add(SlideRow row)
{
    m_pending.append(std::move(row));
    if (m_sinceBatch.elapsed() >= m_interval.count())
        flush();
}

void SlideRowBatcher::flush()
{
    m_sinceBatch.restart();
    if (m_pending.isEmpty())
        return;
    SlideRows batch;
    batch.swap(m_pending);
    m_deliver(std::move(batch));
}

} // namespace vantelo

#include "picture/SlidePreparer.h"

#include "picture/PictureFile.h"

#include <QFileInfo>

#include <memory>

namespace vantelo {

SlidePreparer::SlidePreparer()
{
    // One decode at a time: a second would only compete with the first for the same two cores.
    m_pool.setMaxThreadCount(1);
}

SlidePreparer::~SlidePreparer()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void SlidePreparer::prepare(const QString& path, const QSize& size)
{
    // A decode queued but not started yet is no longer wanted by anyone.
    m_pool.clear();
    const FileStamp stamp = stampOf(path);
    if (m_lastTaken && m_lastTaken->path == path && m_lastTaken->size == size && m_lastTaken->stamp == stamp) {
        m_prepared = m_lastTaken;
        return;
    }
    // The task owns copies of everything it uses, so it may finish after this preparer is gone.
    auto task = std::make_shared<std::packaged_task<QImage()>>([path, size] { return decodeForDrawing(path, size); });
    m_prepared = Prepared{path, size, stamp, task->get_future().share()};
    m_pool.start([task] { (*task)(); });
}

QImage SlidePreparer::take(const QString& path, const QSize& size)
{
    std::optional<Prepared> prepared = std::exchange(m_prepared, std::nullopt);
    const FileStamp stamp = stampOf(path);
    if (prepared && prepared->path == path && prepared->size == size && prepared->stamp == stamp) {
        try {
            QImage picture = prepared->picture.get();
            m_lastTaken = std::move(prepared);
            return picture;
        } catch (...) {
            // Decoded again below: the file may have become readable since.
        }
    }
    m_lastTaken.reset();
    QImage picture = decodeForDrawing(path, size);
    std::promise<QImage> made;
    made.set_value(picture);
    m_lastTaken = Prepared{path, size, stamp, made.get_future().share()};
    return picture;
}

void SlidePreparer::discard()
{
    m_pool.clear();
    m_prepared.reset();
    m_lastTaken.reset();
}

SlidePreparer::FileStamp SlidePreparer::stampOf(const QString& path)
{
    QFileInfo info(path);
    info.setCaching(false);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified(), info.metadataChangeTime()};
}

QImage SlidePreparer::decodeForDrawing(const QString& path, const QSize& size)
{
    QImage picture = decodePicture(path, size);
    // Drawn many times but converted once, off the user-interface thread when prepared ahead.
    const QImage::Format drawable =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (picture.format() != drawable)
        picture.convertTo(drawable);
    return picture;
}

} // namespace vantelo

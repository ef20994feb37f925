#include "picture/SlidePreparer.h"

#include "picture/PictureFile.h"

#include <QFileInfo>

#include <exception>

namespace vantelo {

SlidePreparer::SlidePreparer() = default;

SlidePreparer::~SlidePreparer()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_request.reset();
    }
    m_wake.notify_one();
    if (m_decoder.joinable())
        m_decoder.join();
}

void SlidePreparer::prepare(const QString& path, const QSize& size)
{
    // A decode asked for but not started yet is no longer wanted by anyone.
    dropRequest();
    const FileStamp stamp = stampOf(path);
    if (m_lastTaken && m_lastTaken->path == path && m_lastTaken->size == size && m_lastTaken->stamp == stamp) {
        m_prepared = m_lastTaken;
        return;
    }
    Request request{path, size, {}};
    m_prepared = Prepared{path, size, stamp, request.picture.get_future().share()};
    {
        const std::lock_guard lock(m_mutex);
        m_request = std::move(request);
    }
    m_wake.notify_one();
    // One decode at a time: a second would only compete with the first for the same two cores.
    if (!m_decoder.joinable())
        m_decoder = std::thread([this] { decodeRequests(); });
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
    dropRequest();
    m_prepared.reset();
    m_lastTaken.reset();
}

void SlidePreparer::dropRequest()
{
    const std::lock_guard lock(m_mutex);
    m_request.reset();
}

void SlidePreparer::decodeRequests()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_stopping || m_request; });
        if (m_stopping)
            return;
        Request request = std::move(*std::exchange(m_request, std::nullopt));
        lock.unlock();
        try {
            request.picture.set_value(decodeForDrawing(request.path, request.size));
        } catch (...) {
            request.picture.set_exception(std::current_exception());
        }
        lock.lock();
    }
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

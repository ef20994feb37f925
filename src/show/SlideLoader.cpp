#include "show/SlideLoader.h"

#include "platform/PictureFile.h"

#include <QFileInfo>

#include <memory>

namespace vantelo {

SlideLoader::SlideLoader() : m_decoder([](const QString& path, const QSize& size) { return decodePicture(path, size); })
{
    m_pool.setMaxThreadCount(1);
}

SlideLoader::~SlideLoader()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void SlideLoader::setDecoder(Decoder decoder)
{
    discard();
    m_decoder = std::move(decoder);
}

void SlideLoader::setPrefetching(bool on)
{
    m_prefetching = on;
    if (!on)
        discard();
}

void SlideLoader::prefetch(const QString& path, const QSize& size)
{
    if (!m_prefetching)
        return;
    // The task owns copies of everything it uses, so it may finish after this loader is gone.
    auto task = std::make_shared<std::packaged_task<QImage()>>(
        [decoder = m_decoder, path, size] { return decodeForDrawing(decoder, path, size); });
    m_prepared = Prepared{path, size, stampOf(path), task->get_future()};
    m_pool.start([task] { (*task)(); });
}

QImage SlideLoader::load(const QString& path, const QSize& size)
{
    std::optional<Prepared> prepared = std::exchange(m_prepared, std::nullopt);
    if (prepared && prepared->path == path && prepared->size == size && prepared->stamp == stampOf(path)) {
        try {
            return prepared->picture.get();
        } catch (...) {
            // Decoded again below: the file may have become readable since.
        }
    }
    return decodeForDrawing(m_decoder, path, size);
}

void SlideLoader::discard()
{
    m_prepared.reset();
}

SlideLoader::FileStamp SlideLoader::stampOf(const QString& path)
{
    QFileInfo info(path);
    info.setCaching(false);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified(), info.metadataChangeTime()};
}

QImage SlideLoader::decodeForDrawing(const Decoder& decoder, const QString& path, const QSize& size)
{
    QImage picture = decoder(path, size);
    // Drawn many times but converted once, off the user-interface thread when prefetched.
    const QImage::Format drawable =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (picture.format() != drawable)
        picture.convertTo(drawable);
    return picture;
}

} // namespace vantelo

#pragma once

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

#include <condition_variable>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

// Decodes slides for the show and the small demonstration, and prepares the next one in the
// background while the current one is on screen, so a tick only has to swap pictures, even for very
// large photos. Only decoding runs off the user-interface thread, on one thread of the preparer's
// own: which slide comes next, every failure and every report stay with the caller there. Pictures
// and requests cross between the threads only under the preparer's mutex and through futures.
namespace vantelo {

class SlidePreparer
{
public:
    SlidePreparer();
    // Waits for a decode still running.
    ~SlidePreparer();
    SlidePreparer(const SlidePreparer&) = delete;
    SlidePreparer& operator=(const SlidePreparer&) = delete;

    // Starts decoding the picture in the background for a later take() of the same path and size.
    // Replaces any earlier preparation. The picture take() gave last, when it is the same one, is
    // kept instead of decoded again: a list of one row, or a random draw of the same row.
    void prepare(const QString& path, const QSize& size);

    // The picture at path decoded to size: the prepared one when it still matches (same path, same
    // size, the file unchanged since), else decoded now. A prepared decode that failed is tried
    // again here, so the failure reported is the one of this moment.
    QImage take(const QString& path, const QSize& size);

    // Drops the preparation and the picture kept from the last take(); a decode already running
    // finishes unseen.
    void discard();

private:
    // Enough of the file's identity to notice it was replaced or rewritten.
    struct FileStamp
    {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        QDateTime changed;
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    struct Prepared
    {
        QString path;
        QSize size;
        FileStamp stamp;
        std::shared_future<QImage> picture;
    };

    struct Request
    {
        QString path;
        QSize size;
        std::promise<QImage> picture;
    };

    static FileStamp stampOf(const QString& path);
    static QImage decodeForDrawing(const QString& path, const QSize& size);
    void dropRequest();
    void decodeRequests();

    std::optional<Prepared> m_prepared;
    std::optional<Prepared> m_lastTaken; // its picture already made, for prepare() to reuse

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Request> m_request; // the decode the thread is to do next
    bool m_stopping = false;
    std::thread m_decoder; // started by the first prepare()
};

} // namespace vantelo

#pragma once

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <future>
#include <optional>

// Decodes the next slide of the small demonstration in the background while the current one is on
// screen, so a tick only swaps pictures even for very large photos. Only the decoding leaves the
// user-interface thread: which slide comes next, every failure and every report stay with the
// caller there.
namespace vantelo {

class SlidePreparer : public QObject
{
    Q_OBJECT
public:
    // Decodes the picture at path to exactly size; fails with AppError as decodePicture does.
    using Decoder = std::function<QImage(const QString& path, const QSize& size)>;

    explicit SlidePreparer(QObject* parent = nullptr);
    // Waits for a decode still running: the task holds nothing of ours, but the pool must not
    // outlive its owner.
    ~SlidePreparer() override;

    // Tests and the benchmark count or slow down the decoding.
    void setDecoder(Decoder decoder);

    // Starts decoding the picture for a later take() of the same path and size, replacing any
    // earlier preparation.
    void prepare(const QString& path, const QSize& size);

    // The picture at path decoded to size: the prepared one when it was prepared for this path and
    // size and the file is unchanged since, else decoded now. A prepared decode that failed is tried
    // again, so the failure reported is the one of this moment.
    QImage take(const QString& path, const QSize& size);

    // Drops the preparation; a decode already running finishes unseen.
    void discard();

private:
    // Enough of a file's identity to notice that it was deleted, replaced or rewritten.
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
        std::future<QImage> picture;
    };

    static FileStamp stampOf(const QString& path);

    Decoder m_decoder;
    std::optional<Prepared> m_prepared;
    QThreadPool m_pool;
};

} // namespace vantelo

#pragma once

#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

// The program's only way to the user's storage: pictures, folders and slide lists. A call that storage
// does not answer can leave the thread that made it beyond any signal's reach, and a process with such a
// thread cannot end. So, once startStorageHelper() has run, every call below is made by a small helper
// process instead, one per reading thread, which the calling thread asks over a socket and waits for in
// a wait that ends with the process. A helper caught in storage is left behind; the program ends
// all the same. Without the helper (tests, benchmarks) the calls are made on the calling thread.
namespace vantelo {

class ReadingProgress;

// Starts the process that makes helpers, before any thread, window or lock exists, so that none of them
// is inherited. Once per process, where the system has such processes; else it does nothing.
void startStorageHelper();

// Enough of a file's identity to notice that it was replaced or rewritten.
struct FileStamp
{
    qint64 size = -1;
    qint64 modified = 0; // nanoseconds
    qint64 changed = 0;  // nanoseconds
    quint64 node = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// What a look at a path found: the system's error (errno) when it found nothing.
struct PathFacts
{
    int error = 0;
    bool isFolder = false;
    bool isFile = false;
    FileStamp stamp;
};
PathFacts lookAt(const QString& path);

struct FolderEntry
{
    QString name;
    bool isFolder = false;
    bool isFile = false;
};
// The entries of a folder ("." and ".." left out), in the order the system gives them; error is the
// system's error when it cannot be read.
QList<FolderEntry> listFolder(const QString& path, int& error);

// The names of folder's files (or, with folders true, of its subfolders), links counted as what they lead
// to, that match any of the wildcard patterns ("*.jpg"; all when there are none), letter case ignored,
// hidden ones left out, sorted by name regardless of case: what a folder view lists. A folder that
// cannot be read has none.
QStringList namesInFolder(const QString& folder, bool folders, const QStringList& patterns);

// Whether a file system answers at root: 0, or the system's error.
int fileSystemError(const QString& root);

// A file of the user's, read through the helper. Seekable; reads ahead in large pieces, so a reader that
// takes a few bytes at a time does not ask storage each time. Every answer from storage is told to progress.
class StorageFile : public QIODevice
{
public:
    explicit StorageFile(ReadingProgress* progress = nullptr);
    ~StorageFile() override;

    // Opens path for reading; false with systemError() set when it cannot, or when it is no regular file
    // (systemError() 0 then).
    bool openFile(const QString& path);
    // The system's error of the last open or read that failed, else 0.
    int systemError() const { return m_error; }
    FileStamp stamp() const { return m_stamp; }
    // What was read ahead is read again when asked for: the file as it is now, not as it was.
    void forgetReadAhead()
    {
        m_ahead.clear();
        m_end = -1;
    }

    qint64 size() const override { return m_stamp.size; }
    bool isSequential() const override { return false; }
    void close() override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    ReadingProgress* m_progress;
    qint64 m_handle = -1;
    int m_error = 0;
    FileStamp m_stamp;
    QByteArray m_ahead; // the bytes from m_aheadAt on, read ahead
    qint64 m_aheadAt = 0;
    // Where a read found the file's end: a damaged picture's decoder asks past it again and again.
    qint64 m_end = -1;
};

} // namespace vantelo

#include "reading/Storage.h"

#include "reading/ReadingThreads.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#ifdef Q_OS_LINUX
#include <climits>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/uio.h>
#include <unistd.h>
#endif

namespace vantelo {
namespace {

// The most a helper answers at once: as much as a network file system or a FUSE mount usually answers
// in one go, so a slow share is seen to make progress.
constexpr qint64 PieceBytes = qint64(128) << 10;

enum class Call : std::uint32_t { Open = 1, Read, Close, Look, List, FileSystem };
enum Kind : std::int64_t { Other = 0, File = 1, Folder = 2 };

struct Request
{
    Call call = Call::Look;
    std::uint32_t pathBytes = 0;
    std::int64_t handle = -1;
    std::int64_t offset = 0;
};

// values: a look or an open gives kind, size, modified, changed, node and the handle opened; a listing
// gives 1 in its last piece.
struct Reply
{
    std::int32_t error = 0;
    std::uint32_t payloadBytes = 0;
    std::int64_t values[6] = {};
};

using Send = std::function<void(const Reply&, const char* payload)>;

Reply failed(int error)
{
    Reply reply;
    reply.error = error == 0 ? EIO : error;
    return reply;
}

FileStamp stampOf(const Reply& reply)
{
    return {reply.values[1], reply.values[2], reply.values[3], quint64(reply.values[4])};
}

#ifdef Q_OS_LINUX

std::int64_t nanoseconds(const timespec& time)
{
    return std::int64_t(time.tv_sec) * 1000000000 + time.tv_nsec;
}

Reply facts(const struct stat& status)
{
    Reply reply;
    reply.values[0] = S_ISREG(status.st_mode) ? File : S_ISDIR(status.st_mode) ? Folder : Other;
    reply.values[1] = status.st_size;
    reply.values[2] = nanoseconds(status.st_mtim);
    reply.values[3] = nanoseconds(status.st_ctim);
    reply.values[4] = std::int64_t(status.st_ino);
    return reply;
}

// One call to storage, as the helper makes it (or the calling thread, without one). Handles are the
// descriptors of the process that makes the call.
void perform(const Request& request, const char* path, const Send& send)
{
    switch (request.call) {
    case Call::Open: {
        // Not blocking keeps a named pipe from waiting for a writer; a regular file reads as usual.
        const int file = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        struct stat status = {};
        if (file < 0 || ::fstat(file, &status) != 0) {
            const int error = errno;
            if (file >= 0)
                ::close(file);
            return send(failed(error), nullptr);
        }
        Reply reply = facts(status);
        if (reply.values[0] == File && ::fcntl(file, F_SETFL, 0) == 0)
            reply.values[5] = file;
        else
            ::close(file);
        return send(reply, nullptr);
    }
    case Call::Read: {
        const auto bytes = std::make_unique_for_overwrite<char[]>(PieceBytes);
        const ssize_t read = ::pread(int(request.handle), bytes.get(), PieceBytes, request.offset);
        if (read < 0)
            return send(failed(errno), nullptr);
        Reply reply;
        reply.payloadBytes = std::uint32_t(read);
        return send(reply, bytes.get());
    }
    case Call::Close:
        ::close(int(request.handle));
        return send(Reply(), nullptr);
    case Call::Look: {
        struct stat status = {};
        return send(::stat(path, &status) == 0 ? facts(status) : failed(errno), nullptr);
    }
    case Call::List: {
        DIR* folder = ::opendir(path);
        if (!folder)
            return send(failed(errno), nullptr);
        std::vector<char> piece;
        // Each listing has a stream of its own, and glibc's readdir is safe on separate streams.
        while (const dirent* entry = ::readdir(folder)) { // NOLINT(concurrency-mt-unsafe)
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            char kind = entry->d_type == DT_DIR ? 'd' : entry->d_type == DT_REG ? 'f' : 'o';
            struct stat status = {};
            // A link, or a file system that does not say, is looked at: what it leads to counts.
            if ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
                ::fstatat(::dirfd(folder), entry->d_name, &status, 0) == 0)
                kind = S_ISDIR(status.st_mode) ? 'd' : S_ISREG(status.st_mode) ? 'f' : 'o';
            const size_t length = std::strlen(entry->d_name);
            if (piece.size() + length + 2 > size_t(PieceBytes)) {
                Reply reply;
                reply.payloadBytes = std::uint32_t(piece.size());
                send(reply, piece.data());
                piece.clear();
            }
            piece.push_back(kind);
            piece.insert(piece.end(), entry->d_name, entry->d_name + length + 1);
        }
        ::closedir(folder);
        Reply last;
        last.payloadBytes = std::uint32_t(piece.size());
        last.values[0] = 1;
        return send(last, piece.data());
    }
    case Call::FileSystem: {
        struct statvfs status = {};
        return send(::statvfs(path, &status) == 0 ? Reply() : failed(errno), nullptr);
    }
    }
    send(failed(EINVAL), nullptr);
}

// The helpers' maker, and the helpers: processes forked from this one before it had threads, windows or
// locks, which make only system calls and end with the program (their parent's end kills them).
int helperMaker = -1;
std::mutex helperMakerMutex;

bool sendDescriptor(int socket, int descriptor)
{
    char byte = descriptor >= 0 ? 1 : 0;
    iovec data{&byte, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message = {};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    if (descriptor >= 0) {
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = SOL_SOCKET;
        header->cmsg_type = SCM_RIGHTS;
        header->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(header), &descriptor, sizeof(int));
    }
    return ::sendmsg(socket, &message, MSG_NOSIGNAL) == 1;
}

int receiveDescriptor(int socket)
{
    char byte = 0;
    iovec data{&byte, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message = {};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    if (::recvmsg(socket, &message, MSG_CMSG_CLOEXEC) != 1 || byte != 1)
        return -1;
    const cmsghdr* header = CMSG_FIRSTHDR(&message);
    int descriptor = -1;
    if (header && header->cmsg_level == SOL_SOCKET && header->cmsg_type == SCM_RIGHTS)
        std::memcpy(&descriptor, CMSG_DATA(header), sizeof(int));
    return descriptor;
}

void endWithParent(const char* name)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::prctl(PR_SET_NAME, name);
}

[[noreturn]] void serve(int socket)
{
    endWithParent("vantelo-reader");
    std::vector<char> message(sizeof(Request) + PATH_MAX + 1);
    const Send send = [socket](const Reply& reply, const char* payload) {
        iovec parts[2] = {{const_cast<Reply*>(&reply), sizeof reply}, {const_cast<char*>(payload), reply.payloadBytes}};
        msghdr out = {};
        out.msg_iov = parts;
        out.msg_iovlen = reply.payloadBytes > 0 ? 2 : 1;
        if (::sendmsg(socket, &out, MSG_NOSIGNAL) < 0)
            ::_exit(0);
    };
    while (true) {
        const ssize_t received = ::recv(socket, message.data(), message.size() - 1, 0);
        if (received < ssize_t(sizeof(Request)))
            ::_exit(0);
        Request request;
        std::memcpy(&request, message.data(), sizeof request);
        message[std::min<size_t>(sizeof request + request.pathBytes, size_t(received))] = '\0';
        perform(request, message.data() + sizeof request, send);
    }
}

[[noreturn]] void makeHelpers(int requests)
{
    endWithParent("vantelo-storage");
    // Helpers are never waited for: one caught in storage may never end.
    ::signal(SIGCHLD, SIG_IGN);
    char asked = 0;
    while (::recv(requests, &asked, 1, 0) == 1) {
        int pair[2] = {-1, -1};
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) {
            sendDescriptor(requests, -1);
            continue;
        }
        const pid_t helper = ::fork();
        if (helper == 0) {
            ::close(requests);
            ::close(pair[0]);
            serve(pair[1]);
        }
        ::close(pair[1]);
        sendDescriptor(requests, helper > 0 ? pair[0] : -1);
        ::close(pair[0]);
    }
    ::_exit(0);
}

// The calling thread's helper, asked of the maker the first time; -1 without one.
int helperSocket(bool renew = false)
{
    thread_local int socket = -1;
    if (renew && socket >= 0) {
        ::close(socket);
        socket = -1;
    }
    if (socket >= 0)
        return socket;
    const std::lock_guard lock(helperMakerMutex);
    const char ask = 1;
    if (helperMaker >= 0 && ::send(helperMaker, &ask, 1, MSG_NOSIGNAL) == 1)
        socket = receiveDescriptor(helperMaker);
    return socket;
}

// Makes the call, through the calling thread's helper when there is one; each reply goes to answer.
// A helper that is gone answers with an I/O error.
void call(const Request& request, const QByteArray& path, const std::function<void(const Reply&, const char*)>& answer)
{
    Request sent = request;
    sent.pathBytes = std::uint32_t(std::min<qsizetype>(path.size(), PATH_MAX));
    const int socket = helperSocket();
    if (socket < 0) {
        const QByteArray terminated = path.left(sent.pathBytes);
        return perform(sent, terminated.constData(), answer);
    }
    iovec parts[2] = {{&sent, sizeof sent}, {const_cast<char*>(path.constData()), sent.pathBytes}};
    msghdr out = {};
    out.msg_iov = parts;
    out.msg_iovlen = 2;
    const size_t inBytes = sizeof(Reply) + PieceBytes;
    const auto in = std::make_unique_for_overwrite<char[]>(inBytes);
    if (::sendmsg(socket, &out, MSG_NOSIGNAL) < 0) {
        helperSocket(true);
        return answer(failed(EIO), nullptr);
    }
    while (true) {
        const ssize_t received = ::recv(socket, in.get(), inBytes, 0);
        if (received < ssize_t(sizeof(Reply))) {
            helperSocket(true);
            return answer(failed(EIO), nullptr);
        }
        Reply reply;
        std::memcpy(&reply, in.get(), sizeof reply);
        reply.payloadBytes = std::min<std::uint32_t>(reply.payloadBytes, std::uint32_t(received - sizeof reply));
        answer(reply, in.get() + sizeof reply);
        if (request.call != Call::List || reply.error != 0 || reply.values[0] == 1)
            return;
    }
}

#else

// Elsewhere every call is made on the calling thread, through Qt; handles name the calling thread's files.
void call(const Request& request, const QByteArray& path, const std::function<void(const Reply&, const char*)>& answer)
{
    thread_local std::map<std::int64_t, std::unique_ptr<QFile>> files;
    thread_local std::int64_t lastHandle = 0;
    const QString name = QFile::decodeName(path);
    const auto factsOf = [](const QFileInfo& info) {
        Reply reply = failed(ENOENT);
        if (info.exists())
            reply = Reply{0,
                          0,
                          {info.isFile()  ? File
                           : info.isDir() ? Folder
                                          : Other,
                           info.size(), info.lastModified().toMSecsSinceEpoch() * 1000000,
                           info.metadataChangeTime().toMSecsSinceEpoch() * 1000000, 0, -1}};
        return reply;
    };
    switch (request.call) {
    case Call::Open: {
        Reply reply = factsOf(QFileInfo(name));
        auto file = std::make_unique<QFile>(name);
        if (reply.error == 0 && reply.values[0] == File) {
            if (!file->open(QIODevice::ReadOnly))
                return answer(failed(EACCES), nullptr);
            reply.values[5] = ++lastHandle;
            files[lastHandle] = std::move(file);
        }
        return answer(reply, nullptr);
    }
    case Call::Read: {
        QFile& file = *files.at(request.handle);
        const QByteArray bytes = file.seek(request.offset) ? file.read(PieceBytes) : QByteArray();
        if (file.error() != QFileDevice::NoError)
            return answer(failed(EIO), nullptr);
        Reply reply;
        reply.payloadBytes = std::uint32_t(bytes.size());
        return answer(reply, bytes.constData());
    }
    case Call::Close:
        files.erase(request.handle);
        return answer(Reply(), nullptr);
    case Call::Look:
        return answer(factsOf(QFileInfo(name)), nullptr);
    case Call::List: {
        if (!QFileInfo(name).isDir())
            return answer(failed(ENOENT), nullptr);
        QByteArray piece;
        for (const QFileInfo& info :
             QDir(name).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            piece += (info.isDir() ? 'd' : info.isFile() ? 'f' : 'o') + QFile::encodeName(info.fileName()) + '\0';
        Reply last;
        last.payloadBytes = std::uint32_t(piece.size());
        last.values[0] = 1;
        return answer(last, piece.constData());
    }
    case Call::FileSystem:
        return answer(QStorageInfo(name).isReady() ? Reply() : failed(ENODEV), nullptr);
    }
}

#endif

} // namespace

void startStorageHelper()
{
#ifdef Q_OS_LINUX
    if (helperMaker >= 0)
        return;
    int pair[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0)
        return;
    const pid_t maker = ::fork();
    if (maker == 0) {
        ::close(pair[0]);
        makeHelpers(pair[1]);
    }
    ::close(pair[1]);
    if (maker < 0)
        ::close(pair[0]);
    else
        helperMaker = pair[0];
#endif
}

PathFacts lookAt(const QString& path)
{
    PathFacts found;
    call({Call::Look}, QFile::encodeName(path), [&](const Reply& reply, const char*) {
        found.error = reply.error;
        found.isFile = reply.error == 0 && reply.values[0] == File;
        found.isFolder = reply.error == 0 && reply.values[0] == Folder;
        found.stamp = stampOf(reply);
    });
    return found;
}

QList<FolderEntry> listFolder(const QString& path, int& error)
{
    QList<FolderEntry> entries;
    error = 0;
    call({Call::List}, QFile::encodeName(path), [&](const Reply& reply, const char* payload) {
        error = reply.error;
        for (std::uint32_t at = 0; at + 1 < reply.payloadBytes;) {
            const char* name = payload + at + 1;
            const size_t length = strnlen(name, reply.payloadBytes - at - 1);
            entries.append(
                {QFile::decodeName(QByteArray(name, qsizetype(length))), payload[at] == 'd', payload[at] == 'f'});
            at += std::uint32_t(length) + 2;
        }
    });
    return entries;
}

QStringList namesInFolder(const QString& folder, bool folders, const QStringList& patterns)
{
    QStringList names;
    int error = 0;
    for (const FolderEntry& entry : listFolder(folder, error)) {
        if ((folders ? entry.isFolder : entry.isFile) && !entry.name.startsWith(u'.') &&
            (patterns.isEmpty() || QDir::match(patterns, entry.name)))
            names.append(entry.name);
    }
    // Names equal but for case keep the system's order, as a folder view's sorting does.
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

int fileSystemError(const QString& root)
{
    int error = 0;
    call({Call::FileSystem}, QFile::encodeName(root), [&](const Reply& reply, const char*) { error = reply.error; });
    return error;
}

StorageFile::StorageFile(ReadingProgress* progress) : m_progress(progress) {}

StorageFile::~StorageFile()
{
    StorageFile::close();
}

bool StorageFile::openFile(const QString& path)
{
    close();
    m_error = 0;
    Reply opened;
    call({Call::Open}, QFile::encodeName(path), [&](const Reply& reply, const char*) { opened = reply; });
    if (m_progress)
        m_progress->storageAnswered();
    m_error = opened.error;
    if (opened.error != 0 || opened.values[0] != File)
        return false;
    m_stamp = stampOf(opened);
    m_handle = opened.values[5];
    return QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void StorageFile::close()
{
    if (m_handle >= 0) {
        call({Call::Close, 0, m_handle}, {}, [](const Reply&, const char*) {});
        m_handle = -1;
    }
    m_ahead.clear();
    m_end = -1;
    QIODevice::close();
}

qint64 StorageFile::readData(char* data, qint64 maxSize)
{
    qint64 done = 0;
    while (done < maxSize) {
        const qint64 at = pos() + done;
        if (at >= m_aheadAt && at < m_aheadAt + m_ahead.size()) {
            const qint64 count = std::min(maxSize - done, m_aheadAt + m_ahead.size() - at);
            std::memcpy(data + done, m_ahead.constData() + (at - m_aheadAt), size_t(count));
            done += count;
            continue;
        }
        if (m_end >= 0 && at >= m_end)
            break;
        Reply read;
        QByteArray bytes;
        call({Call::Read, 0, m_handle, at}, {}, [&](const Reply& reply, const char* payload) {
            read = reply;
            bytes = QByteArray(payload, reply.payloadBytes);
        });
        if (m_progress)
            m_progress->storageAnswered();
        if (read.error != 0) {
            m_error = read.error;
            return done > 0 ? done : -1;
        }
        if (bytes.isEmpty()) {
            m_end = at;
            break;
        }
        m_ahead = bytes;
        m_aheadAt = at;
    }
    return done;
}

} // namespace vantelo

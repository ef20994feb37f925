#include "reading/ReadingThreads.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <system_error>
#include <thread>
#include <vector>

namespace vantelo {
namespace {

using Clock = std::chrono::steady_clock;

// A mount point as the mount table writes it: blanks, tabs, newlines and backslashes as octal escapes.
QString unescapedMountPoint(const QByteArray& field)
{
    QByteArray point;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                point += char(code);
                i += 3;
                continue;
            }
        }
        point += field[i];
    }
    return QFile::decodeName(point);
}

// The mount points of this process's mount table, longest first. Read afresh now and then, so a share
// mounted or gone since counts as what it is now.
class MountTable
{
public:
    QString mountPointOf(const QString& file)
    {
        const std::lock_guard lock(m_mutex);
        if (m_points.isEmpty() || Clock::now() - m_read > std::chrono::seconds(2))
            reread();
        const QString path = QDir::cleanPath(file);
        for (const QString& point : std::as_const(m_points)) {
            if (point == QLatin1String("/") || path == point || path.startsWith(point + u'/'))
                return point;
        }
        return {};
    }

private:
    void reread()
    {
        m_read = Clock::now();
        m_points.clear();
        QFile table(QStringLiteral("/proc/self/mountinfo"));
        if (!table.open(QIODevice::ReadOnly))
            return;
        for (const QByteArray& line : table.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() > 4)
                m_points.append(unescapedMountPoint(fields[4]));
        }
        std::sort(m_points.begin(), m_points.end(),
                  [](const QString& a, const QString& b) { return a.size() > b.size(); });
    }

    std::mutex m_mutex;
    QStringList m_points;
    Clock::time_point m_read;
};

} // namespace

int storageFailure(int systemError, int otherwise)
{
    switch (systemError) {
    case ENOENT:
    case ENOTDIR:
        return ErrorNumber::FileNotFound;
    case EIO:
    case ENXIO:
    case ENODEV:
#ifdef Q_OS_UNIX
    case ENOTCONN:
    case ESTALE:
    case ETIMEDOUT:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case ECONNABORTED:
    case ECONNRESET:
    case ENOLINK:
#endif
#ifdef Q_OS_LINUX
    case ENOMEDIUM:
    case EREMOTEIO:
#endif
        return ErrorNumber::DeviceUnavailable;
    default:
        return otherwise;
    }
}

namespace detail {

// The threads and the line of requests waiting for them. Made once and never destroyed: a thread
// caught in a read may still come back to it while the program ends.
struct ReadingPool
{
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::shared_ptr<ReadingTask>> waiting;
    std::vector<const ReadingTask*> running;
    int threads = 0;
    int idle = 0;
    int starting = 0; // started, not yet looking for work
    bool closing = false;
    MountTable mounts;

    static ReadingPool& instance()
    {
        static auto* pool = new ReadingPool;
        return *pool;
    }

    // Under the mutex.
    bool mayStart(const ReadingTask& task) const
    {
        int onStorage = 0;
        for (const ReadingTask* other : running) {
            if (other->m_file == task.m_file)
                return false;
            onStorage += other->m_storage == task.m_storage ? 1 : 0;
        }
        return onStorage < ReadingThreads::StorageThreads;
    }

    // Under the mutex.
    std::deque<std::shared_ptr<ReadingTask>>::iterator nextToStart()
    {
        return std::find_if(waiting.begin(), waiting.end(), [this](const auto& task) { return mayStart(*task); });
    }

    // Under the mutex: how many of those waiting could run at once, each started counting for the next.
    int startable()
    {
        const std::vector<const ReadingTask*> before = running;
        int count = 0;
        for (auto next = nextToStart(); next != waiting.end(); next = nextToStart()) {
            running.push_back(next->get());
            ++count;
            if (count + int(before.size()) >= ReadingThreads::MaxThreads)
                break;
        }
        running = before;
        return count;
    }

    void work()
    {
        std::unique_lock lock(mutex);
        --starting;
        while (true) {
            const auto next = closing ? waiting.end() : nextToStart();
            if (next == waiting.end()) {
                ++idle;
                wake.wait(lock);
                --idle;
                continue;
            }
            std::shared_ptr<ReadingTask> task = std::move(*next);
            waiting.erase(next);
            running.push_back(task.get());
            task->m_started = true;
            lock.unlock();
            task->runAndAnswer();
            lock.lock();
            running.erase(std::find(running.begin(), running.end(), task.get()));
            // A file or a file system of its may be free now for a request waiting in line.
            wake.notify_all();
            lock.unlock();
            task.reset();
            lock.lock();
        }
    }

    void submit(const std::shared_ptr<ReadingTask>& task)
    {
        task->m_storage = mounts.mountPointOf(task->m_file);
        std::unique_lock lock(mutex);
        waiting.push_back(task);
        if (startable() > idle + starting && threads < ReadingThreads::MaxThreads) {
            try {
                std::thread([this] { work(); }).detach();
                ++threads;
                ++starting;
            } catch (const std::system_error&) {
                // Those already running take it in turn; with none, nobody ever would.
                if (threads == 0) {
                    waiting.pop_back();
                    lock.unlock();
                    task->failAndAnswer(AppError(ErrorNumber::OutOfMemory));
                    return;
                }
            }
        }
        wake.notify_all();
    }

    void withdraw(const ReadingTask* task)
    {
        const std::lock_guard lock(mutex);
        const auto found =
            std::find_if(waiting.begin(), waiting.end(), [task](const auto& queued) { return queued.get() == task; });
        if (found != waiting.end())
            waiting.erase(found);
    }
};

ReadingTask::ReadingTask(QString file) : m_file(std::move(file)) {}

void ReadingTask::submit()
{
    ReadingPool::instance().submit(shared_from_this());
}

void ReadingTask::drop()
{
    m_dropped = true;
    ReadingPool::instance().withdraw(this);
}

void ReadingTask::runAndAnswer()
{
    run(m_progress);
    postAnswer();
}

void ReadingTask::failAndAnswer(const AppError& failure)
{
    fail(failure);
    postAnswer();
}

void ReadingTask::postAnswer()
{
    if (QCoreApplication* application = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            application,
            [request = weak_from_this()] {
                if (const std::shared_ptr<ReadingTask> answered = request.lock())
                    answered->deliver();
            },
            Qt::QueuedConnection);
    }
}

void ReadingTask::setAnswered(std::function<void()> answered)
{
    m_answered = std::move(answered);
    if (hasAnswer())
        postAnswer();
}

void ReadingTask::deliver()
{
    if (m_dropped || !m_answered || m_delivered)
        return;
    m_delivered = true;
    // The asker may let go of the request from inside; the call keeps its own copy.
    const std::function<void()> answered = m_answered;
    answered();
}

} // namespace detail

namespace ReadingThreads {

bool settleForExit()
{
    detail::ReadingPool& pool = detail::ReadingPool::instance();
    std::deque<std::shared_ptr<detail::ReadingTask>> unstarted;
    const std::lock_guard lock(pool.mutex);
    pool.closing = true;
    unstarted.swap(pool.waiting);
    return pool.running.empty();
}

int threadCount()
{
    detail::ReadingPool& pool = detail::ReadingPool::instance();
    const std::lock_guard lock(pool.mutex);
    return pool.threads;
}

bool isIdle()
{
    detail::ReadingPool& pool = detail::ReadingPool::instance();
    const std::lock_guard lock(pool.mutex);
    return pool.waiting.empty() && pool.running.empty();
}

} // namespace ReadingThreads

} // namespace vantelo

#include "reading/ReadingThreads.h"

#include "reading/MountTable.h"

#include <QCoreApplication>

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

// This process's mount table, read afresh now and then, so a share mounted or gone since counts as what
// it is now.
class MountTable
{
public:
    QString mountPointOf(const QString& file)
    {
        const std::lock_guard lock(m_mutex);
        if (m_mounts.isEmpty() || Clock::now() - m_read > std::chrono::seconds(2)) {
            m_read = Clock::now();
            m_mounts = mountTable();
        }
        return vantelo::mountPointOf(file, m_mounts);
    }

private:
    std::mutex m_mutex;
    QList<MountedFileSystem> m_mounts;
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
    // Answers posted to the user-interface thread and not yet handed over there.
    std::atomic<int> undelivered{0};
    std::mutex handOver;
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
        ReadingPool& pool = ReadingPool::instance();
        ++pool.undelivered;
        // Qt hands the call over through locks of its own that the thread checker cannot see; this
        // one it sees, so the call is known to be complete before the user-interface thread reads it.
        const std::lock_guard handing(pool.handOver);
        QMetaObject::invokeMethod(
            application,
            [request = weak_from_this()] {
                ReadingPool& answeredPool = ReadingPool::instance();
                {
                    const std::lock_guard handed(answeredPool.handOver);
                }
                if (const std::shared_ptr<ReadingTask> answered = request.lock())
                    answered->deliver();
                --answeredPool.undelivered;
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
    return pool.waiting.empty() && pool.running.empty() && pool.undelivered == 0;
}

} // namespace ReadingThreads

} // namespace vantelo

#pragma once

#include "common/AppError.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// Storage can stop answering: a network share that went away, a disk spinning up, a dead mount. A
// thread that calls open, stat or read there may wait for seconds or for ever, and nothing can cancel
// or join it. So the user-interface thread never touches pictures, folders or slide lists itself: it
// asks the reading threads here and is told when the answer is there. The reading threads in turn make
// those calls through helper processes of their own (Storage.h), so that even a call the system will not
// interrupt keeps no more than a helper from ending.
//
// The rules, in one place:
// - A request runs on one of at most MaxThreads threads, started as needed and never joined: one waiting
//   on storage that never answers is simply left behind.
// - Requests for one file run one at a time, and at most StorageThreads run at once on one mounted
//   file system, so a dead share holds at most that many threads and every other drive keeps its own.
//   A request that has to wait for those waits in line, and has not started.
// - A request that is no longer wanted is dropped: taken out of line if it has not started, else left to
//   finish unseen. Its answer is never delivered.
// - Answers come back on the user-interface thread, through its event loop.
// - A request that no thread can take (the system refuses another thread and none runs) fails with
//   "Out of memory" (7), as an answer like any other.
namespace vantelo {

// How far a request has got with its storage, told by the reading thread and read by the asker:
// storage that keeps answering (an open, a look at a file, a read) is slow, storage that answers nothing
// has stalled.
class ReadingProgress
{
public:
    void storageAnswered() { m_answers.fetch_add(1, std::memory_order_relaxed); }
    // Everything is in memory: what is left is work that storage cannot hold up.
    void setAllRead() { m_allRead.store(true, std::memory_order_relaxed); }

    qint64 answers() const { return m_answers.load(std::memory_order_relaxed); }
    bool allRead() const { return m_allRead.load(std::memory_order_relaxed); }

private:
    std::atomic<qint64> m_answers{0};
    std::atomic<bool> m_allRead{false};
};

// The failure a system error (errno) met while reading stands for: 53 when the file or a folder on its
// path is not there, 68 "Device unavailable" when its storage failed (an I/O error, a share that went
// away or stopped answering, a medium pulled out), otherwise the given one.
int storageFailure(int systemError, int otherwise);

namespace ReadingThreads {

// Two threads decoding keep both cores of a small machine busy; two caught on each of two dead shares
// still leave those two to the drives that answer.
inline constexpr int MaxThreads = 6;
inline constexpr int StorageThreads = 2;

// At the program's end: nothing waiting in line starts any more. True when no reading thread is at
// work, so the program may end the ordinary way; false when one is (perhaps for ever), and the program
// must end without waiting for it or tearing down what it uses.
bool settleForExit();

// The threads started so far.
int threadCount();

// No request waiting or running, and every answer handed over on the user-interface thread.
bool isIdle();

} // namespace ReadingThreads

namespace detail {

// One request as the reading threads see it.
class ReadingTask : public std::enable_shared_from_this<ReadingTask>
{
public:
    explicit ReadingTask(QString file);
    virtual ~ReadingTask() = default;
    ReadingTask(const ReadingTask&) = delete;
    ReadingTask& operator=(const ReadingTask&) = delete;

    const ReadingProgress& progress() const { return m_progress; }
    bool started() const { return m_started.load(); }

    void submit();
    void drop();

    // On a reading thread: the work, and then the answer sent on its way.
    void runAndAnswer();
    // When no thread can take it.
    void failAndAnswer(const AppError& failure);
    // On the user-interface thread, once the answer is stored.
    void setAnswered(std::function<void()> answered);
    void deliver();
    virtual bool hasAnswer() const = 0;

protected:
    virtual void run(ReadingProgress& progress) = 0;
    virtual void fail(const AppError& failure) = 0;

private:
    void postAnswer();

    QString m_file;
    QString m_storage; // the mount point of the file's file system
    ReadingProgress m_progress;
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_dropped{false};
    // User-interface thread only.
    std::function<void()> m_answered;
    bool m_delivered = false;

    friend struct ReadingPool;
};

template <typename T> class Request : public ReadingTask
{
public:
    Request(QString file, std::function<T(ReadingProgress&)> work)
        : ReadingTask(std::move(file)), m_work(std::move(work))
    {
    }

    bool hasAnswer() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_value || m_failure;
    }
    T take()
    {
        const std::lock_guard lock(m_mutex);
        if (m_failure)
            throw *m_failure;
        return std::move(*m_value);
    }

protected:
    void run(ReadingProgress& progress) override
    {
        std::function<T(ReadingProgress&)> work = std::exchange(m_work, nullptr);
        try {
            T value = work(progress);
            const std::lock_guard lock(m_mutex);
            m_value = std::move(value);
        } catch (...) {
            fail(currentFailure());
        }
    }
    void fail(const AppError& failure) override
    {
        const std::lock_guard lock(m_mutex);
        m_failure = failure;
    }

private:
    std::function<T(ReadingProgress&)> m_work;
    mutable std::mutex m_mutex;
    std::optional<T> m_value;
    std::optional<AppError> m_failure;
};

} // namespace detail

// One request for work on a reading thread, held by whoever asked. Letting go of it (destroying it,
// or drop()) drops the request. Used on the user-interface thread; a reading thread may make one and
// hand it over.
template <typename T> class Reading
{
public:
    Reading() = default;
    // Starts work on a reading thread; it reads file (and nothing on other storage).
    Reading(const QString& file, std::function<T(ReadingProgress&)> work)
        : m_request(std::make_shared<detail::Request<T>>(file, std::move(work)))
    {
        m_request->submit();
    }
    ~Reading() { drop(); }
    Reading(Reading&& other) noexcept = default;
    Reading& operator=(Reading&& other) noexcept
    {
        if (this != &other) {
            drop();
            m_request = std::move(other.m_request);
        }
        return *this;
    }
    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;

    explicit operator bool() const { return bool(m_request); }

    // Called once on the user-interface thread when the answer is there, from its event loop, also
    // when it came before this was set.
    void onAnswer(std::function<void()> answered) { m_request->setAnswered(std::move(answered)); }
    bool hasAnswer() const { return m_request && m_request->hasAnswer(); }
    // The answer, or its failure thrown; once, after hasAnswer(). The request is done with.
    T take()
    {
        const std::shared_ptr<detail::Request<T>> request = std::exchange(m_request, nullptr);
        return request->take();
    }
    // Whether a reading thread has taken it up, and how far it got.
    bool started() const { return m_request && m_request->started(); }
    const ReadingProgress& progress() const { return m_request->progress(); }

    void drop()
    {
        if (m_request)
            std::exchange(m_request, nullptr)->drop();
    }

private:
    std::shared_ptr<detail::Request<T>> m_request;
};

} // namespace vantelo

#include "reading/ReadingThreads.h"
#include "reading/Storage.h"
#include "support/Settle.h"
#include "support/TestMain.h"

#include <QStringList>
#include <QTemporaryFile>

#include <condition_variable>
#include <mutex>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantelo;

namespace {

// Storage that does not answer until the test lets it.
struct Stall
{
    std::mutex mutex;
    std::condition_variable changed;
    bool lifted = false;
    int caught = 0;

    int wait()
    {
        std::unique_lock lock(mutex);
        ++caught;
        changed.notify_all();
        changed.wait(lock, [this] { return lifted; });
        return 1;
    }
    bool caughtAtLeast(int count)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return caught >= count; });
    }
    void lift(bool now = true)
    {
        const std::lock_guard lock(mutex);
        lifted = now;
        caught = now ? caught : 0;
        changed.notify_all();
    }
};

} // namespace

// The reading threads as the windows rely on them: bounded, never waited for, answers only while wanted.
class TestReading : public QObject
{
    Q_OBJECT
    Stall share; // lifted after each test, passed or failed, for the threads it caught to go back to work

private slots:
    void init() { share.lift(false); }
    void cleanup()
    {
        share.lift();
        QVERIFY(test::settle());
    }

    // First, while no reading thread exists yet: where the system refuses a thread (here a process limit
    // of none), the request is answered with 7 "Out of memory" instead of aborting or never answering.
    void aRequestNoThreadCanTakeFails()
    {
#if defined(__SANITIZE_THREAD__)
        QSKIP("ThreadSanitizer ends a process that forks while it runs threads of its own");
#endif
        QCOMPARE(ReadingThreads::threadCount(), 0);
        const pid_t child = fork();
        if (child == 0) {
            const rlimit none{0, 0};
            if (setrlimit(RLIMIT_NPROC, &none) != 0 || (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)))
                _exit(3);
            Reading<int> reading(u"/any/file"_qs, [](ReadingProgress&) { return 1; });
            bool answered = false;
            reading.onAnswer([&] { answered = true; });
            if (!test::settle() || !answered)
                _exit(4);
            try {
                reading.take();
            } catch (const AppError& error) {
                _exit(error.number() == ErrorNumber::OutOfMemory ? 0 : 5);
            }
            _exit(6);
        }
        int status = -1;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    // A thousand requests on a dead share hold two threads; the same file is read by one at a time; other
    // storage still gets its answers; a dropped request is never answered, even once its storage answers.
    void aDeadShareHoldsTwoThreads()
    {
        std::vector<Reading<int>> dead;
        for (int row = 0; row < 1000; ++row)
            dead.push_back(
                Reading<int>(u"/proc/share/%1.jpg"_qs.arg(row % 500), [&](ReadingProgress&) { return share.wait(); }));
        Reading<int> again(u"/proc/share/0.jpg"_qs, [](ReadingProgress&) { return 2; });
        QVERIFY(share.caughtAtLeast(2));

        QStringList answers;
        Reading<int> local(u"/local.jpg"_qs, [](ReadingProgress& progress) {
            progress.storageAnswered();
            return 3;
        });
        local.onAnswer([&] { answers << u"local %1"_qs.arg(local.take()); });
        dead[0].onAnswer([&] { answers << u"dead 0"_qs; });
        dead[1].onAnswer([&] { answers << u"dead 1"_qs; });
        QTRY_COMPARE(answers, QStringList{u"local 3"_qs});
        QCOMPARE(share.caught, 2);
        QVERIFY(dead[0].started() && dead[1].started() && !dead[2].started() && !again.started());
        QCOMPARE(ReadingThreads::threadCount(), 2 + 1);
        QVERIFY(!ReadingThreads::isIdle());

        dead[1].drop();
        dead.erase(dead.begin() + 2, dead.end());
        cleanup();
        QCOMPARE(answers, (QStringList{u"local 3"_qs, u"dead 0"_qs}));
        QVERIFY(again.hasAnswer());
        QVERIFY(ReadingThreads::threadCount() <= ReadingThreads::MaxThreads);
    }
    // A file of three pieces reads back exactly, wherever it is sought; past its end storage is asked once,
    // however often a damaged picture's decoder asks again.
    void aFileReadsInPiecesAndItsEndOnce()
    {
        QTemporaryFile file;
        QByteArray bytes(300 * 1024, 'a');
        bytes[200 * 1024] = 'b';
        QVERIFY(file.open() && file.write(bytes) == bytes.size() && file.flush());
        ReadingProgress progress;
        StorageFile read(&progress);
        QVERIFY(read.openFile(file.fileName()));
        QCOMPARE(read.size(), 300 * 1024);
        QVERIFY(read.seek(200 * 1024 - 1));
        QCOMPARE(read.read(3), QByteArray("aba"));
        QVERIFY(read.seek(0));
        QCOMPARE(read.readAll(), bytes);
        const qint64 asked = progress.answers();
        for (int again = 0; again < 1000; ++again)
            QCOMPARE(read.read(4096), QByteArray());
        QCOMPARE(progress.answers(), asked + 1);
    }
};

VANTELO_TEST_MAIN(TestReading)
#include "tst_reading.moc"

#include "app/Module1.h"
#include "platform/InstanceLock.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QProcess>

#include <atomic>
#include <thread>

using namespace vantelo;

class TestApp : public QObject
{
    Q_OBJECT
    // Every start shares this test's private runtime folder, so its instances see each other's lock.
    static std::unique_ptr<QProcess> start(const QStringList& arguments, const QString& platform = "offscreen")
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", platform);
        process->setProcessEnvironment(env);
        process->start(VANTELO_PROGRAM, arguments);
        return process;
    }

    // How a started program ended: its exit code and what it wrote to its error stream.
    static QString ending(QProcess& process)
    {
        if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit)
            return "still running or crashed";
        return QString::number(process.exitCode()) + ' ' + process.readAllStandardError();
    }

private slots:
    // The command line as the program gets it, one argument between each two single spaces.
    void commandLine_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<StartMode>("mode");
        const StartMode config = StartMode::Configuration, show = StartMode::Show, nothing = StartMode::Nothing;
        QTest::newRow("/c:1234") << "/c:1234" << config;
        QTest::newRow("three spaces then /c") << "   /c" << config;
        QTest::newRow("tab then /c") << "\t/c" << nothing;
        QTest::newRow("/S") << "/S" << show;
        QTest::newRow("/s 99") << "/s 99" << show;
        QTest::newRow("/p 1234") << "/p 1234" << nothing;
        QTest::newRow("/ c") << "/ c" << nothing;
        QTest::newRow("empty") << "" << nothing;
    }
    void commandLine()
    {
        QFETCH(QString, commandLine);
        QByteArrayList arguments = ("vantelo.scr " + commandLine).toLocal8Bit().split(' ');
        QList<char*> argv;
        for (QByteArray& argument : arguments)
            argv << argument.data();
        QTEST(startModeFor(argumentText(int(argv.size()), argv.data())), "mode");
    }

    // Modes that open nothing end before a display is touched (this one does not exist); a second
    // instance of either mode ends at once; a killed instance's lock does not lock the user out.
    void instances()
    {
        for (const QStringList& arguments : {QStringList{}, QStringList{"/p", "1234"}, QStringList{"\t/c"}})
            QCOMPARE(ending(*start(arguments, "no-such-platform")), "0 ");
        const auto first = start({"/c"});
        QTRY_VERIFY_WITH_TIMEOUT(InstanceLock::isHeld(InstanceLock::defaultLockPath()), 10000);
        QCOMPARE(ending(*start({"/s"})), "0 ");
        QCOMPARE(ending(*start({"/c"})), "0 ");
        QCOMPARE(first->state(), QProcess::Running);
        first->kill();
        QVERIFY(first->waitForFinished(10000));
        const auto next = start({"/s"});
        QVERIFY(!next->waitForFinished(1500));
        QCOMPARE(ending(*start({"/c"})), "0 ");
        next->kill();
        next->waitForFinished();
    }

    // Whatever a crash left in the lock file, a lock nobody holds is free, and free again at once when let go.
    void lockFileContents()
    {
        const QString path = test::writeBytes(qEnvironmentVariable("XDG_RUNTIME_DIR"), "contents.lock", "999999\n\xff");
        InstanceLock first(path), second(path);
        QVERIFY(first.tryAcquire() && InstanceLock::isHeld(path) && !second.tryAcquire());
        first.release();
        QVERIFY(!InstanceLock::isHeld(path) && second.tryAcquire());
    }

    // Hosted copies ask whether the ordinary lock is held while another start may be taking it.
    void askingNeverHolds()
    {
        const QString path = qEnvironmentVariable("XDG_RUNTIME_DIR") + "/asked.lock";
        std::atomic<bool> done = false;
        std::thread asker([&] {
            while (!done)
                InstanceLock::isHeld(path);
        });
        int refused = 0;
        for (int i = 0; i < 3000; ++i) {
            InstanceLock lock(path);
            refused += !lock.tryAcquire();
        }
        done = true;
        asker.join();
        QCOMPARE(refused, 0);
    }
};

VANTELO_TEST_MAIN(TestApp)
#include "tst_app.moc"

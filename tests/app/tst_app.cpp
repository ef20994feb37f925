#include "app/Module1.h"
#include "platform/InstanceLock.h"
#include "support/TestMain.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vantelo;

namespace {

// Runs the real program with one private runtime and config folder shared by every start, so
// instances of one test see each other's lock and nothing else.
class ProgramRunner
{
public:
    ProgramRunner()
    {
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    void start(QProcess& process, const QStringList& arguments, const QString& platform = QStringLiteral("offscreen"))
    {
        QProcessEnvironment env = m_env;
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VANTELO_PROGRAM), arguments);
        QVERIFY(process.waitForStarted());
    }
    QString lockPath() const { return m_home.filePath(QStringLiteral("personal-vantelo.lock")); }

private:
    QTemporaryDir m_home;
    QProcessEnvironment m_env;
};

} // namespace

class TestApp : public QObject
{
    Q_OBJECT
private slots:
    void argumentTable_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("mode");
        const int config = int(StartMode::Configuration);
        const int show = int(StartMode::Show);
        const int nothing = int(StartMode::Nothing);
        QTest::newRow("/c") << "/c" << config;
        QTest::newRow("/C") << "/C" << config;
        QTest::newRow("/c:1234") << "/c:1234" << config;
        QTest::newRow("/c:0012AB") << "/c:0012AB" << config;
        QTest::newRow("three spaces then /c") << "   /c" << config;
        QTest::newRow("trailing spaces") << "/s   " << show;
        QTest::newRow("tab then /c") << "\t/c" << nothing;
        QTest::newRow("/cs") << "/cs" << config;
        QTest::newRow("/S") << "/S" << show;
        QTest::newRow("/s 99") << "/s 99" << show;
        QTest::newRow("/p 1234") << "/p 1234" << nothing;
        QTest::newRow("-s") << "-s" << nothing;
        QTest::newRow("s") << "s" << nothing;
        QTest::newRow("/") << "/" << nothing;
        QTest::newRow("empty") << "" << nothing;
    }
    void argumentTable()
    {
        QFETCH(QString, arguments);
        QFETCH(int, mode);
        QCOMPARE(int(startModeFor(arguments)), mode);
    }

    void argumentsJoinWithSingleSpaces()
    {
        QByteArray program("vantelo.scr"), first("/s"), second("99");
        char* argv[] = {program.data(), first.data(), second.data()};
        QCOMPARE(argumentText(3, argv), QStringLiteral("/s 99"));
        QCOMPARE(argumentText(1, argv), QString());
    }

    // Modes that open nothing must end before any display is touched: a platform plugin that
    // does not exist would make a started GUI fail loudly.
    void nothingModesEndWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("none") << QStringList{};
        QTest::newRow("/p 1234") << QStringList{"/p", "1234"};
        QTest::newRow("-s") << QStringList{"-s"};
        QTest::newRow("tab /c") << QStringList{"\t/c"};
    }
    void nothingModesEndWithoutADisplay()
    {
        QFETCH(QStringList, arguments);
        ProgramRunner runner;
        QProcess process;
        runner.start(process, arguments, QStringLiteral("no-such-platform"));
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardError(), QByteArray());
    }

    void secondInstanceEndsAtOnce()
    {
        ProgramRunner runner;
        QProcess first;
        runner.start(first, {QStringLiteral("/c")});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(runner.lockPath()), 10000);
        QVERIFY(!first.waitForFinished(500)); // the configuration window keeps it running

        for (const QString& mode : {QStringLiteral("/s"), QStringLiteral("/c")}) {
            QProcess second;
            runner.start(second, {mode});
            QVERIFY2(second.waitForFinished(10000), qPrintable(mode));
            QCOMPARE(second.exitCode(), 0);
        }
        QCOMPARE(first.state(), QProcess::Running);

        // A killed instance leaves its lock file behind; it must not lock the user out.
        first.kill();
        QVERIFY(first.waitForFinished(10000));
        QVERIFY(QFile::exists(runner.lockPath()));
        QProcess next;
        runner.start(next, {QStringLiteral("/s")});
        QVERIFY(!next.waitForFinished(1000));
        QProcess refused;
        runner.start(refused, {QStringLiteral("/c")});
        QVERIFY(refused.waitForFinished(10000));
        next.kill();
        next.waitForFinished(10000);
    }

    void lockIsHeldUntilReleased()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.lock"));
        auto holder = std::make_unique<InstanceLock>(path);
        QVERIFY(holder->tryAcquire());
        InstanceLock other(path);
        QVERIFY(!other.tryAcquire());
        holder.reset();
        QVERIFY(other.tryAcquire());
    }
};

VANTELO_TEST_MAIN(TestApp)
#include "tst_app.moc"

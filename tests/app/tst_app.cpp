#include "app/Module1.h"
#include "support/TestMain.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vantelo;

class TestApp : public QObject
{
    Q_OBJECT
    // One private runtime and config folder for every start of the real program in a test function,
    // so its instances see each other's lock and nothing else.
    std::unique_ptr<QTemporaryDir> m_home;

    void start(QProcess& process, const QStringList& arguments, const char* platform = "offscreen")
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home->path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(platform));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VANTELO_PROGRAM), arguments);
        QVERIFY(process.waitForStarted());
    }

private slots:
    void init() { m_home = std::make_unique<QTemporaryDir>(); }

    void argumentTable_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("mode");
        const int config = int(StartMode::Configuration), show = int(StartMode::Show),
                  nothing = int(StartMode::Nothing);
        QTest::newRow("/c") << "/c" << config;
        QTest::newRow("/C") << "/C" << config;
        QTest::newRow("/c:1234") << "/c:1234" << config;
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
        QTEST(int(startModeFor(arguments)), "mode");
    }

    void argumentsJoinWithSingleSpaces()
    {
        QByteArray program("vantelo.scr"), first("/s"), second("99");
        char* argv[] = {program.data(), first.data(), second.data()};
        QCOMPARE(argumentText(3, argv), QStringLiteral("/s 99"));
        QCOMPARE(argumentText(1, argv), QString());
    }

    // Modes that open nothing end before any display is touched: a platform plugin that does not
    // exist would make a started GUI fail loudly.
    void nothingModesEndWithoutADisplay()
    {
        for (const QStringList& arguments : {QStringList{}, QStringList{"/p", "1234"}, QStringList{"\t/c"}}) {
            QProcess process;
            start(process, arguments, "no-such-platform");
            QVERIFY(process.waitForFinished(10000));
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), 0);
            QCOMPARE(process.readAllStandardError(), QByteArray());
        }
    }

    void secondInstanceEndsAtOnce()
    {
        const QString lock = m_home->filePath(QStringLiteral("personal-vantelo.lock"));
        QProcess first;
        start(first, {QStringLiteral("/c")});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 10000);
        QVERIFY(!first.waitForFinished(500)); // the configuration window keeps it running
        for (const QString& mode : {QStringLiteral("/s"), QStringLiteral("/c")}) {
            QProcess second;
            start(second, {mode});
            QVERIFY2(second.waitForFinished(10000), qPrintable(mode));
            QCOMPARE(second.exitCode(), 0);
        }
        QCOMPARE(first.state(), QProcess::Running);

        // A killed instance leaves its lock file behind; it must not lock the user out.
        first.kill();
        QVERIFY(first.waitForFinished(10000));
        QVERIFY(QFile::exists(lock));
        QProcess next;
        start(next, {QStringLiteral("/s")});
        QVERIFY(!next.waitForFinished(1000));
        QProcess refused;
        start(refused, {QStringLiteral("/c")});
        QVERIFY(refused.waitForFinished(10000));
        next.kill();
        next.waitForFinished(10000);
    }
};

VANTELO_TEST_MAIN(TestApp)
#include "tst_app.moc"

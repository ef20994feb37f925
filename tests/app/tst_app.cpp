#include "app/Module1.h"
#include "support/TestMain.h"

#include <QProcess>

using namespace vantelo;

class TestApp : public QObject
{
    Q_OBJECT
    // The runtime and config folder of every start of the real program here, so that its instances
    // see each other's lock and nothing else.
    QTemporaryDir m_home;

    void start(QProcess& process, const QStringList& arguments, const QString& platform = "offscreen")
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VANTELO_PROGRAM), arguments);
        QVERIFY(process.waitForStarted());
    }

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<StartMode>("mode");
        const StartMode config = StartMode::Configuration, show = StartMode::Show, nothing = StartMode::Nothing;
        // clang-format off
        QTest::newRow("/c") << QStringList{"/c"} << config;
        QTest::newRow("/C") << QStringList{"/C"} << config;
        QTest::newRow("/c:1234") << QStringList{"/c:1234"} << config;
        QTest::newRow("three spaces then /c") << QStringList{"   /c"} << config;
        QTest::newRow("trailing spaces") << QStringList{"/s   "} << show;
        QTest::newRow("tab then /c") << QStringList{"\t/c"} << nothing;
        QTest::newRow("/cs") << QStringList{"/cs"} << config;
        QTest::newRow("/S") << QStringList{"/S"} << show;
        QTest::newRow("/s 99, two arguments") << QStringList{"/s", "99"} << show;
        QTest::newRow("/p 1234") << QStringList{"/p", "1234"} << nothing;
        QTest::newRow("-s") << QStringList{"-s"} << nothing;
        QTest::newRow("s") << QStringList{"s"} << nothing;
        QTest::newRow("/") << QStringList{"/"} << nothing;
        QTest::newRow("/ c, two arguments") << QStringList{"/", "c"} << nothing;
        QTest::newRow("empty") << QStringList{} << nothing;
        // clang-format on
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QList<QByteArray> bytes{"vantelo.scr"};
        for (const QString& argument : arguments)
            bytes << argument.toLocal8Bit();
        QList<char*> argv;
        for (QByteArray& argument : bytes)
            argv << argument.data();
        QTEST(startModeFor(argumentText(int(argv.size()), argv.data())), "mode");
    }

    // Modes that open nothing end before any display is touched: a display that does not exist would
    // make a started window fail loudly.
    void nothingModesEndWithoutADisplay()
    {
        for (const QStringList& arguments : {QStringList{}, QStringList{"/p", "1234"}, QStringList{"\t/c"}}) {
            QProcess process;
            start(process, arguments, QStringLiteral("no-such-platform"));
            QVERIFY(process.waitForFinished(10000));
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), 0);
            QCOMPARE(process.readAllStandardError(), QByteArray());
        }
    }

    void secondInstanceEndsAtOnce()
    {
        QProcess first;
        start(first, {QStringLiteral("/c")});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_home.filePath(QStringLiteral("personal-vantelo.lock"))), 10000);
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
        QProcess next;
        start(next, {QStringLiteral("/s")});
        QVERIFY(!next.waitForFinished(1500));
        QProcess refused;
        start(refused, {QStringLiteral("/c")});
        QVERIFY(refused.waitForFinished(10000));
        next.kill();
        next.waitForFinished(10000);
    }
};

Q_DECLARE_METATYPE(vantelo::StartMode)
VANTELO_TEST_MAIN(TestApp)
#include "tst_app.moc"

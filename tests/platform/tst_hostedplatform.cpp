#include "platform/HostedPlatform.h"
#include "platform/QtPlatform.h"
#include "platform/ScreenSaverHost.h"
#include "platform/TerminationSignal.h"
#include "support/TestMain.h"

#include <QSignalSpy>

#include <csignal>

using namespace vantelo;

namespace {

volatile std::sig_atomic_t earlierHandlerCalls = 0;
extern "C" void earlierHandler(int)
{
    earlierHandlerCalls = earlierHandlerCalls + 1;
}

} // namespace

// The show inside a host's window is checked end to end in tests/xscreensaver/hosting.sh; these are
// the parts it cannot reach.
class TestHostedPlatform : public QObject
{
    Q_OBJECT
private slots:
    void parseHostWindowId_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qulonglong>("id"); // 0: no window
        QTest::newRow("hexadecimal") << "0x1a00007" << 0x1a00007ull;
        QTest::newRow("capital X and digits") << "0X1A0000F" << 0x1a0000full;
        QTest::newRow("decimal, blanks around") << "  27262983\n" << 27262983ull;
        QTest::newRow("leading zero is still decimal") << "0104" << 104ull;
        QTest::newRow("largest 32-bit id") << "0xffffffff" << 0xffffffffull;
        QTest::newRow("zero") << "0" << 0ull;
        QTest::newRow("prefix alone") << "0x" << 0ull;
        QTest::newRow("sign") << "+5" << 0ull;
        QTest::newRow("hex digit in decimal") << "12a" << 0ull;
        QTest::newRow("blank inside") << "0x12 34" << 0ull;
        QTest::newRow("beyond 32 bits") << "0x100000000" << 0ull;
    }
    void parseHostWindowId()
    {
        QFETCH(QString, text);
        QTEST(qulonglong(vantelo::parseHostWindowId(text).value_or(0)), "id");
    }

    // Reports go to the stream the host keeps, a line each; the host's window is screen and work area.
    void hostedReportsAndScreen()
    {
        std::FILE* stream = std::tmpfile();
        QVERIFY(stream);
        HostedPlatform hosted(
            qtPlatform(), [] { return QSize(640, 480); }, stream);
        QCoreApplication::setApplicationName(QStringLiteral("Personal Vantelo"));
        hosted.platform().prompter.showMessage(nullptr, MessageIcon::Exclamation, "Personal Vantelo", "No Images");
        hosted.platform().prompter.showMessage(nullptr, MessageIcon::None, QString(), "Error: 53 has occurred");
        std::rewind(stream);
        char text[200] = {};
        QCOMPARE(QByteArray(text, int(std::fread(text, 1, sizeof text, stream))),
                 "Personal Vantelo: No Images\nPersonal Vantelo: Error: 53 has occurred\n");
        std::fclose(stream);
        QCOMPARE(hosted.platform().screen.screenGeometry(), QRect(0, 0, 640, 480));
        QCOMPARE(hosted.platform().screen.workArea(), QRect(0, 0, 640, 480));
        QCOMPARE(&hosted.platform().random, &qtPlatform().random);
    }

    void terminationSignalIsHeardAndHandedBack()
    {
        struct sigaction earlier = {};
        earlier.sa_handler = earlierHandler;
        sigemptyset(&earlier.sa_mask);
        struct sigaction original = {};
        QCOMPARE(::sigaction(SIGTERM, &earlier, &original), 0);
        {
            TerminationSignal termination;
            QSignalSpy received(&termination, &TerminationSignal::received);
            QCOMPARE(std::raise(SIGTERM), 0);
            QTRY_COMPARE(received.size(), 1);
            QCOMPARE(std::raise(SIGTERM), 0);
            QTRY_COMPARE(received.size(), 2);
            QCOMPARE(int(earlierHandlerCalls), 0);
        }
        // Gone, it gives SIGTERM back to whoever had it before.
        QCOMPARE(std::raise(SIGTERM), 0);
        QCOMPARE(int(earlierHandlerCalls), 1);
        ::sigaction(SIGTERM, &original, nullptr);
    }
};

VANTELO_TEST_MAIN(TestHostedPlatform)
#include "tst_hostedplatform.moc"

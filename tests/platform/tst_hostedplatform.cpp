#include "platform/HostedPlatform.h"
#include "platform/TerminationSignal.h"
#include "support/FakePlatform.h"
#include "support/TestMain.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <cstdio>

using namespace vantelo;
using vantelo::test::FakePlatform;

namespace {

volatile std::sig_atomic_t earlierHandlerCalls = 0;
extern "C" void earlierHandler(int)
{
    earlierHandlerCalls = earlierHandlerCalls + 1;
}

QByteArray contentsOf(std::FILE* stream)
{
    std::fflush(stream);
    std::rewind(stream);
    QByteArray contents;
    char buffer[256];
    while (std::size_t read = std::fread(buffer, 1, sizeof buffer, stream))
        contents.append(buffer, qsizetype(read));
    return contents;
}

} // namespace

class TestHostedPlatform : public QObject
{
    Q_OBJECT
private slots:
    void screenIsTheHostWindowAtItsCurrentSize()
    {
        FakePlatform fp;
        QSize hostSize(320, 200);
        HostedPlatform hosted(fp.platform, [&hostSize] { return hostSize; });
        QCOMPARE(hosted.platform().screen.screenGeometry(), QRect(0, 0, 320, 200));
        QCOMPARE(hosted.platform().screen.workArea(), QRect(0, 0, 320, 200));
        hostSize = QSize(1920, 1080);
        QCOMPARE(hosted.platform().screen.screenGeometry(), QRect(0, 0, 1920, 1080));
        QCOMPARE(hosted.platform().screen.workArea(), QRect(0, 0, 1920, 1080));
    }

    void reportsGoToTheStreamNotToMessageBoxes()
    {
        FakePlatform fp;
        std::FILE* stream = std::tmpfile();
        QVERIFY(stream);
        HostedPlatform hosted(
            fp.platform, [] { return QSize(10, 10); }, stream);
        hosted.platform().prompter.showMessage(nullptr, MessageIcon::Exclamation, QStringLiteral("Personal Vantelo"),
                                               QStringLiteral("No Images in the list to be displayed"));
        hosted.platform().prompter.showMessage(nullptr, MessageIcon::None, QStringLiteral("Personal Vantelo"),
                                               QStringLiteral("Error: 53 has occurred in Project1 error was File "
                                                              "not found"));
        hosted.platform().prompter.beep();
        QCOMPARE(contentsOf(stream), QByteArray("Personal Vantelo: No Images in the list to be displayed\n"
                                                "Personal Vantelo: Error: 53 has occurred in Project1 error was "
                                                "File not found\n"));
        std::fclose(stream);
        QVERIFY(fp.prompter.messages.isEmpty());
        QCOMPARE(fp.prompter.beeps, 0);

        // Everything else is the base platform's.
        fp.random.draws.enqueue(0.25f);
        QCOMPARE(hosted.platform().random.reseedAndDraw(), 0.25f);
        hosted.platform().program.endProgram();
        QCOMPARE(fp.program.endCalls, 1);
    }

    void terminationSignalIsHeardAndHandedBack()
    {
        struct sigaction earlier = {};
        earlier.sa_handler = earlierHandler;
        sigemptyset(&earlier.sa_mask);
        struct sigaction original = {};
        QCOMPARE(::sigaction(SIGTERM, &earlier, &original), 0);
        earlierHandlerCalls = 0;
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

#include "show/FullShow.h"
#include "show/ImageBox.h"
#include "support/FakePlatform.h"
#include "support/Settle.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

using namespace vantelo;

namespace {

// The show over fakes, on a screen of 1280 x 1024. It deletes itself when it unloads; whatever is left
// open when a test ends is deleted here.
struct Show
{
    test::FakePlatform fp;
    QPointer<FullShow> show = (fp.screen.screen = QRect(0, 0, 1280, 1024), new FullShow(fp.platform));
    QStringList seen; // each run of the tick: the picture's colour and place, or "hidden"; and each report
    Show()
    {
        fp.prompter.onMessage = [this](const QString& line) {
            seen << line + (box()->isHidden() ? " (hidden)" : "");
            show->Timer1_Timer(); // a tick while the report waits for its OK is let go
        };
    }
    ~Show() { delete show.data(); }
    ImageBox* box() const { return show->findChild<ImageBox*>(QStringLiteral("imgShow")); }
    QTimer* timer() const { return show->findChild<QTimer*>(QStringLiteral("Timer1")); }
    // The load and some ticks, each noted once its pictures came.
    void run(int ticks)
    {
        show->Form_Load();
        for (note(); ticks-- > 0; note())
            show->Timer1_Timer();
    }
    void note()
    {
        QVERIFY(test::settle());
        const QRect at = box()->geometry();
        seen << (box()->isHidden() ? u"hidden"_qs
                                   : box()->picture().pixelColor(box()->picture().rect().center()).name() +
                                         u" %1,%2 %3x%4"_qs.arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height()));
    }
};

} // namespace

// What the show window adds to the slide sequence and the slide list file: what it shows where, what
// it reports, what its timer does, and what ends it.
class TestFullShow : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir; // red.bmp, green.bmp, blue.bmp, all 40 x 30

private slots:
    void initTestCase()
    {
        for (const char* color : {"red #ff0000", "green #00ff00", "blue #0000ff"}) {
            QImage image(40, 30, QImage::Format_RGB32);
            image.fill(QColor(QString::fromLatin1(color).section(u' ', 1)));
            QVERIFY(image.save(m_dir.filePath(QString::fromLatin1(color).section(u' ', 0, 0) + u".bmp"_qs), "BMP"));
        }
    }
    void init() { QFile::remove(settingsFilePath()); }

    // Settings, a slide list file, the load and some ticks of the timer: what is seen.
    void runs_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("window"); // interval ("off" while the timer is off), background colour
        QTest::addColumn<QStringList>("seen");
        const QString three = u"red.bmp|480 X 640, green.bmp|480 X 640, blue.bmp|480 X 640"_qs;
        const QString red = u"#ff0000 0,0 800x600"_qs, green = u"#00ff00 0,0 800x600"_qs,
                      blue = u"#0000ff 0,0 800x600"_qs;
        const QString report = u"Personal Vantelo: Error: %1 has occurred in Project1 error was %2 (hidden)"_qs;
        const QString empty = u"! Personal Vantelo: No Images in the list to be displayed (hidden)"_qs;
        // clang-format off
        // the picture fits the stored work area (800 x 600 when none is stored), whatever its real size
        QTest::newRow("480 X 640") << QStringList{} << "1: red.bmp|480 X 640" << 0 << "5000 #000000" << QStringList{red};
        QTest::newRow("stored work area") << QStringList{"ScreenWidth=1000", "ScreenHeight=300", "Delay=99", "BackColor=16711680"} << "1: red.bmp|480 X 640" << 0 << "99000 #0000ff" << QStringList{"#ff0000 300,0 400x300"};
        QTest::newRow("a delay of 0") << QStringList{"Delay=0", "BackColor=255"} << "1: red.bmp|480 X 640" << 0 << "off #ff0000" << QStringList{red};
        // the order
        QTest::newRow("in list order") << QStringList{} << "3: " + three << 4 << "" << QStringList{red, green, blue, red, green};
        QTest::newRow("any word but Ordered, even ordered: random") << QStringList{"ShowType=ordered"} << "3: " + three << 3 << "" << QStringList{green, green, red, blue};
        // a run that fails reports, and the next one shows the next row
        QTest::newRow("picture gone") << QStringList{} << "3: red.bmp|480 X 640, gone.bmp|480 X 640, blue.bmp|480 X 640" << 2 << "5000 #000000" << QStringList{red, report.arg(53).arg("File not found"), "hidden", blue};
        QTest::newRow("lower-case x") << QStringList{} << "3: red.bmp|480 X 640, green.bmp|480 x 640, blue.bmp|480 X 640" << 2 << "" << QStringList{red, report.arg(11).arg("Division by zero"), "hidden", blue};
        QTest::newRow("beyond 16 bits") << QStringList{} << "3: red.bmp|480 X 640, green.bmp|48000 X 640, blue.bmp|480 X 640" << 2 << "" << QStringList{red, report.arg(6).arg("Overflow").remove(" (hidden)"), red, blue};
        QTest::newRow("an empty list, every run") << QStringList{} << "0: " + three << 1 << "5000 #000000" << QStringList{empty, "hidden", empty, "hidden"};
        // a load that fails reports and leaves the show idle, in its background colour if it got that far
        QTest::newRow("nothing stored") << QStringList{} << "" << 0 << "off #000000" << QStringList{"hidden"};
        QTest::newRow("list file gone") << QStringList{"File=/nowhere.vtl", "BackColor=255"} << "" << 0 << "off #ff0000" << QStringList{"! Personal Vantelo: File has been Modified or Deleted, Check Settings! (hidden)", "hidden"};
        QTest::newRow("list folder gone") << QStringList{"File=/nowhere/list.vtl"} << "" << 0 << "off #000000" << QStringList{report.arg(76).arg("Path not found"), "hidden"};
        QTest::newRow("Delay not a number") << QStringList{"Delay=abc"} << "3: " + three << 0 << "off" << QStringList{report.arg(13).arg("Type mismatch"), "hidden"};
        QTest::newRow("Delay beyond 16 bits") << QStringList{"Delay=40000"} << "3: " + three << 0 << "off" << QStringList{report.arg(6).arg("Overflow"), "hidden"};
        QTest::newRow("ScreenWidth beyond 16 bits") << QStringList{"ScreenWidth=32768"} << "3: " + three << 0 << "off" << QStringList{report.arg(6).arg("Overflow"), "hidden"};
        QTest::newRow("BackColor not a number") << QStringList{"BackColor=blue"} << "3: " + three << 0 << "off" << QStringList{report.arg(13).arg("Type mismatch"), "hidden"};
        // clang-format on
    }
    void runs()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, list); // "N: name|size text, ...": N on the count line, then the rows; no file when empty
        QFETCH(int, ticks);
        QFETCH(QString, window);
        if (!list.isEmpty()) {
            QByteArray bytes = " " + list.section(u": "_qs, 0, 0).toLatin1() + " \r\n";
            for (const QString& row : list.section(u": "_qs, 1).split(u", "_qs))
                bytes += u"1 | %1/ | %2 | %3 | \r\n"_qs.arg(m_dir.path(), row.section(u'|', 0, 0), row.section(u'|', 1))
                             .toLatin1();
            stored << u"File="_qs + test::writeBytes(m_dir.path(), QStringLiteral("list.vtl"), bytes);
        }
        test::storeSettings(stored);
        Show s;
        s.fp.random.draws << 0.25f << 0.75f << 0.0f << 0.9f;
        s.run(ticks);
        QTEST(s.seen, "seen");
        QCOMPARE(s.show->geometry(), QRect(0, 0, 1280, 1024)); // the whole screen, not the work area
        if (window.contains(u'#')) // it got as far as the background colour, and then the pointer's shape
            QCOMPARE(s.show->cursor().shape(), Qt::CrossCursor);
        const QString look = (s.timer()->isActive() ? QString::number(s.timer()->interval()) : u"off"_qs) + u' ' +
                             s.show->palette().color(QPalette::Window).name();
        QVERIFY2(look.startsWith(window), qPrintable(look));
        s.timer()->setInterval(5); // the timer brings the slides
        QSignalSpy slides(s.show.data(), &FullShow::slideShown);
        QTRY_VERIFY(!s.timer()->isActive() || !s.fp.prompter.said().isEmpty() || slides.count() >= 2);
    }

    // Qt reports a move also when the window appears under a still pointer: only a move elsewhere ends the show.
    void onlyAMoveElsewhereEndsTheShow()
    {
        QCursor::setPos(100, 300);
        Show s;
        s.run(0);
        s.show->show();
        QTRY_VERIFY(!s.show || s.show->windowHandle()->isExposed());
        const auto moveTo = [&](QPoint to) {
            QMouseEvent move(QEvent::MouseMove, to, to, Qt::NoButton, {}, {});
            QApplication::sendEvent(s.show.data(), &move);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        QVERIFY2(s.show, "the show ended when it appeared under a still pointer");
        moveTo({100, 300});
        QVERIFY2(s.show, "a move to where the pointer already was ended the show");
        moveTo({101, 300});
        QVERIFY(s.show.isNull());
    }
};

VANTELO_TEST_MAIN(TestFullShow)
#include "tst_fullshow.moc"

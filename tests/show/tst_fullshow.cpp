#include "show/FullShow.h"
#include "show/ImageBox.h"
#include "support/FakePlatform.h"
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
        fp.prompter.onMessage = [this](const auto&) {
            seen << fp.prompter.said().last() + (box()->isHidden() ? " (hidden)" : "");
            show->Timer1_Timer(); // a tick while the report waits for its OK is let go
        };
    }
    ~Show() { delete show.data(); }
    ImageBox* box() const { return show->findChild<ImageBox*>(QStringLiteral("imgShow")); }
    QTimer* timer() const { return show->findChild<QTimer*>(QStringLiteral("Timer1")); }
    void run(int ticks)
    {
        show->Form_Load();
        for (note(); ticks-- > 0; note())
            show->Timer1_Timer();
    }
    void note()
    {
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
    QTemporaryDir m_dir; // red.bmp, green.bmp, blue.bmp (all 40 x 30) and notes.jpg, no picture

private slots:
    void initTestCase()
    {
        for (const char* color : {"red #ff0000", "green #00ff00", "blue #0000ff"}) {
            QImage image(40, 30, QImage::Format_RGB32);
            image.fill(QColor(QString::fromLatin1(color).section(u' ', 1)));
            QVERIFY(image.save(m_dir.filePath(QString::fromLatin1(color).section(u' ', 0, 0) + u".bmp"_qs), "BMP"));
        }
        QVERIFY(!test::writeBytes(m_dir.path(), QStringLiteral("notes.jpg"), "not a picture\n").isEmpty());
    }
    void init() { QFile::remove(settingsFilePath()); }

    // Settings (or a settings file as it lies on disk), a slide list file (none for an empty text), the load
    // and some ticks of the timer: what is seen.
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
        const auto report = [](int number, const char* description) {
            return u"Personal Vantelo: Error: %1 has occurred in Project1 error was %2 (hidden)"_qs.arg(number).arg(
                description);
        };
        const QString empty = u"! Personal Vantelo: No Images in the list to be displayed (hidden)"_qs;
        QByteArray garbage;
        for (int i = 0; i < 64 * 1024; ++i)
            garbage.append(char((i * 7919 + i / 251) % 256 == '=' ? 0 : (i * 7919 + i / 251) % 256));
        // clang-format off
        // the picture fits the stored work area (800 x 600 when none is stored), whatever its real size
        QTest::newRow("480 X 640") << QStringList{} << "1: red.bmp|480 X 640" << 0 << "5000 #000000" << QStringList{red};
        QTest::newRow("640 X 480") << QStringList{} << "1: red.bmp|640 X 480" << 0 << "" << QStringList{"#ff0000 175,0 450x600"};
        QTest::newRow("200 X 400") << QStringList{} << "1: red.bmp|200 X 400" << 0 << "" << QStringList{"#ff0000 -200,0 1200x600"};
        QTest::newRow("stored work area") << QStringList{"ScreenWidth=1000", "ScreenHeight=300", "Delay=99", "BackColor=16711680"} << "1: red.bmp|480 X 640" << 0 << "99000 #0000ff" << QStringList{"#ff0000 300,0 400x300"};
        QTest::newRow("a delay of 0") << QStringList{"Delay=0", "BackColor=255"} << "1: red.bmp|480 X 640" << 0 << "off #ff0000" << QStringList{red};
        // the order
        QTest::newRow("in list order") << QStringList{} << "3: " + three << 4 << "" << QStringList{red, green, blue, red, green};
        QTest::newRow("random") << QStringList{"ShowType=Random"} << "3: " + three << 3 << "" << QStringList{green, green, red, blue};
        QTest::newRow("ordered in lower case: random") << QStringList{"ShowType=ordered"} << "3: " + three << 1 << "" << QStringList{green, green};
        // a run that fails reports, and the next one shows the next row
        QTest::newRow("picture gone") << QStringList{} << "3: red.bmp|480 X 640, gone.bmp|480 X 640, blue.bmp|480 X 640" << 2 << "5000 #000000" << QStringList{red, report(53, "File not found"), "hidden", blue};
        QTest::newRow("no picture") << QStringList{} << "3: red.bmp|480 X 640, notes.jpg|480 X 640, blue.bmp|480 X 640" << 2 << "" << QStringList{red, report(481, "Invalid picture"), "hidden", blue};
        QTest::newRow("lower-case x") << QStringList{} << "3: red.bmp|480 X 640, green.bmp|480 x 640, blue.bmp|480 X 640" << 2 << "" << QStringList{red, report(11, "Division by zero"), "hidden", blue};
        QTest::newRow("beyond 16 bits") << QStringList{} << "3: red.bmp|480 X 640, green.bmp|48000 X 640, blue.bmp|480 X 640" << 2 << "" << QStringList{red, report(6, "Overflow").remove(" (hidden)"), red, blue};
        QTest::newRow("an empty list, every run") << QStringList{} << "0: " + three << 1 << "5000 #000000" << QStringList{empty, "hidden", empty, "hidden"};
        QTest::newRow("a work area of negative height") << QStringList{"ScreenHeight=-1"} << "1: red.bmp|480 X 640" << 0 << "5000 #000000" << QStringList{report(380, "Invalid property value"), "hidden"};
        // a load that fails reports and leaves the show idle, in its background colour if it got that far
        QTest::newRow("nothing stored") << QStringList{} << "" << 0 << "off #000000" << QStringList{"hidden"};
        QTest::newRow("list file gone") << QStringList{"File=/nowhere.vtl", "BackColor=255"} << "" << 0 << "off #ff0000" << QStringList{"! Personal Vantelo: File has been Modified or Deleted, Check Settings! (hidden)", "hidden"};
        QTest::newRow("list folder gone") << QStringList{"File=/nowhere/list.vtl"} << "" << 0 << "off #000000" << QStringList{report(76, "Path not found"), "hidden"};
        QTest::newRow("count 5, three rows") << QStringList{} << "5: " + three << 0 << "off #000000" << QStringList{report(62, "Input past end of file"), "hidden"};
        QTest::newRow("count 32767, three rows") << QStringList{} << "32767: " + three << 0 << "off #000000" << QStringList{report(62, "Input past end of file"), "hidden"};
        QTest::newRow("a row of 40000 characters") << QStringList{} << "1: " + QString(40000, u'a') + "|1 X 1" << 0 << "off #000000" << QStringList{report(6, "Overflow"), "hidden"};
        QTest::newRow("a list of garbage") << QStringList{} << QString::fromLatin1(garbage) << 0 << "5000 #000000" << QStringList{empty, "hidden"};
        QTest::newRow("Delay not a number") << QStringList{"Delay=abc"} << "3: " + three << 0 << "off" << QStringList{report(13, "Type mismatch"), "hidden"};
        QTest::newRow("Delay beyond 16 bits") << QStringList{"Delay=40000"} << "3: " + three << 0 << "off" << QStringList{report(6, "Overflow"), "hidden"};
        QTest::newRow("ScreenWidth beyond 16 bits") << QStringList{"ScreenWidth=32768"} << "3: " + three << 0 << "off" << QStringList{report(6, "Overflow"), "hidden"};
        QTest::newRow("BackColor not a number") << QStringList{"BackColor=blue"} << "3: " + three << 0 << "off" << QStringList{report(13, "Type mismatch"), "hidden"};
        QTest::newRow("a settings file of garbage") << QStringList{garbage} << "3: " + three << 0 << "off #000000" << QStringList{"hidden"};
        QTest::newRow("a megabyte of nines") << QStringList{"[Settings]\nDelay=" + QString(1 << 20, u'9')} << "3: " + three << 0 << "off" << QStringList{report(6, "Overflow"), "hidden"};
        QTest::newRow("typed values by hand") << QStringList{"[Settings]\nDelay=@Rect(1 2 3 4)\n"} << "3: " + three << 0 << "off" << QStringList{report(13, "Type mismatch"), "hidden"};
        // clang-format on
    }
    void runs()
    {
        QFETCH(QStringList, stored);
        QFETCH(int, ticks);
        QFETCH(QString, window);
        QFETCH(QString, list); // "N: name|size text, ..." with N the count line, or any other text as it stands
        bool numbered = false;
        list.section(u": "_qs, 0, 0).toInt(&numbered);
        QByteArray bytes = numbered ? u" %1 \r\n"_qs.arg(list.section(u": "_qs, 0, 0)).toLatin1() : list.toLatin1();
        for (const QString& row : numbered ? list.section(u": "_qs, 1).split(u", "_qs) : QStringList())
            bytes += u"1 | %1/ | %2 | %3 | \r\n"_qs.arg(m_dir.path(), row.section(u'|', 0, 0), row.section(u'|', 1))
                         .toLatin1();
        if (!list.isEmpty())
            test::storeSettings({u"File="_qs + test::writeBytes(m_dir.path(), QStringLiteral("list.vtl"), bytes)});
        stored.value(0).contains(u'\n') ? test::writeSettingsFile(stored[0].toLatin1()) : test::storeSettings(stored);
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

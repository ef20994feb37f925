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
#include <QWheelEvent>
#include <QWindow>

using namespace vantelo;

namespace {

// The show over fakes, on a screen of 1280 x 1024. It deletes itself when it unloads; whatever is
// left open when a test ends is deleted here.
struct Show
{
    test::FakePlatform fp;
    QPointer<FullShow> show = (fp.screen.screen = QRect(0, 0, 1280, 1024), new FullShow(fp.platform));
    QStringList seen; // what each run of the tick left on screen: the picture's colour and box, or "hidden"
    Show()
    {
        fp.prompter.onMessage = [this](const auto&) { seen << (box()->isHidden() ? "reported hidden" : "reported"); };
    }
    ~Show() { delete show.data(); }
    ImageBox* box() const { return show->findChild<ImageBox*>(QStringLiteral("imgShow")); }
    QTimer* timer() const { return show->findChild<QTimer*>(QStringLiteral("Timer1")); }
    void run(int ticks)
    {
        show->Form_Load();
        note();
        for (; ticks > 0; --ticks)
            show->Timer1_Timer(), note();
    }
    void note()
    {
        const QImage& picture = box()->picture();
        const QRect at = box()->geometry();
        seen << (box()->isHidden() ? QStringLiteral("hidden")
                                   : QStringLiteral("%1 %2,%3 %4x%5")
                                         .arg(picture.pixelColor(picture.rect().center()).name())
                                         .arg(at.x())
                                         .arg(at.y())
                                         .arg(at.width())
                                         .arg(at.height()));
    }
};

const QString Common = QStringLiteral("Personal Vantelo: Error: %1 has occurred in Project1 error was %2");
const QString Empty = QStringLiteral("! Personal Vantelo: No Images in the list to be displayed");

} // namespace

class TestFullShow : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir; // red.bmp, green.bmp, blue.bmp (all 40 x 30) and notes.jpg, no picture

    // The slide list file named by the setting "File": count line, then "name|size text" rows.
    void writeList(int count, const QStringList& rows)
    {
        QByteArray bytes = " " + QByteArray::number(count) + " \r\n";
        for (const QString& row : rows)
            bytes += QStringLiteral("1 | %1/ | %2 | %3 | \r\n")
                         .arg(m_dir.path(), row.section(u'|', 0, 0), row.section(u'|', 1))
                         .toUtf8();
        test::storeSettings({u"File="_qs + test::writeBytes(m_dir.path(), QStringLiteral("list.vtl"), bytes)});
    }

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

    // Settings and a list file, then the load and some ticks: what is seen after each run.
    void runs_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<int>("count"); // the list file's count line; -1: the number of rows; -2: no list file
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QStringList>("seen");
        QTest::addColumn<QString>("said");
        const QStringList three{"red.bmp|480 X 640", "green.bmp|480 X 640", "blue.bmp|480 X 640"};
        const QString red = QStringLiteral("#ff0000 0,0 800x600"), green = QStringLiteral("#00ff00 0,0 800x600"),
                      blue = QStringLiteral("#0000ff 0,0 800x600");
        // clang-format off
        // the picture fits the stored work area (800 x 600 when none is stored), whatever its real size
        QTest::newRow("480 X 640") << QStringList{} << -1 << QStringList{"red.bmp|480 X 640"} << 0 << QStringList{red} << "";
        QTest::newRow("640 X 480") << QStringList{} << -1 << QStringList{"red.bmp|640 X 480"} << 0 << QStringList{"#ff0000 175,0 450x600"} << "";
        QTest::newRow("200 X 400") << QStringList{} << -1 << QStringList{"red.bmp|200 X 400"} << 0 << QStringList{"#ff0000 -200,0 1200x600"} << "";
        QTest::newRow("stored work area") << QStringList{"ScreenWidth=1000", "ScreenHeight=300"} << -1 << QStringList{"red.bmp|480 X 640"} << 0 << QStringList{"#ff0000 300,0 400x300"} << "";
        // the order
        QTest::newRow("in list order") << QStringList{} << -1 << three << 4 << QStringList{red, green, blue, red, green} << "";
        QTest::newRow("random") << QStringList{"ShowType=Random"} << -1 << three << 3 << QStringList{green, green, red, blue} << "";
        QTest::newRow("ordered in lower case: random") << QStringList{"ShowType=ordered"} << -1 << three << 1 << QStringList{green, green} << "";
        // a run that fails reports, and the next one shows the next row
        QTest::newRow("picture gone") << QStringList{} << -1 << QStringList{three[0], "gone.bmp|480 X 640", three[2]} << 2 << QStringList{red, "reported hidden", "hidden", blue} << Common.arg(53).arg("File not found");
        QTest::newRow("no picture") << QStringList{} << -1 << QStringList{three[0], "notes.jpg|480 X 640", three[2]} << 2 << QStringList{red, "reported hidden", "hidden", blue} << Common.arg(481).arg("Invalid picture");
        QTest::newRow("lower-case x") << QStringList{} << -1 << QStringList{three[0], "green.bmp|480 x 640", three[2]} << 2 << QStringList{red, "reported hidden", "hidden", blue} << Common.arg(11).arg("Division by zero");
        QTest::newRow("beyond 16 bits") << QStringList{} << -1 << QStringList{three[0], "green.bmp|48000 X 640", three[2]} << 2 << QStringList{red, "reported", red, blue} << Common.arg(6).arg("Overflow");
        QTest::newRow("an empty list, every run") << QStringList{} << 0 << three << 1 << QStringList{"reported hidden", "hidden", "reported hidden", "hidden"} << Empty + u'\n' + Empty;
        // a load that fails reports and leaves the show idle
        QTest::newRow("nothing stored") << QStringList{} << -2 << QStringList{} << 0 << QStringList{"hidden"} << "";
        QTest::newRow("list file gone") << QStringList{"File=/nowhere.vtl"} << -2 << QStringList{} << 0 << QStringList{"reported hidden", "hidden"} << "! Personal Vantelo: File has been Modified or Deleted, Check Settings!";
        QTest::newRow("list folder gone") << QStringList{"File=/nowhere/list.vtl"} << -2 << QStringList{} << 0 << QStringList{"reported hidden", "hidden"} << Common.arg(76).arg("Path not found");
        QTest::newRow("count 5, three rows") << QStringList{} << 5 << three << 0 << QStringList{"reported hidden", "hidden"} << Common.arg(62).arg("Input past end of file");
        QTest::newRow("Delay not a number") << QStringList{"Delay=abc"} << -1 << three << 0 << QStringList{"reported hidden", "hidden"} << Common.arg(13).arg("Type mismatch");
        QTest::newRow("Delay beyond 16 bits") << QStringList{"Delay=40000"} << -1 << three << 0 << QStringList{"reported hidden", "hidden"} << Common.arg(6).arg("Overflow");
        QTest::newRow("ScreenWidth beyond 16 bits") << QStringList{"ScreenWidth=32768"} << -1 << three << 0 << QStringList{"reported hidden", "hidden"} << Common.arg(6).arg("Overflow");
        QTest::newRow("BackColor not a number") << QStringList{"BackColor=blue"} << -1 << three << 0 << QStringList{"reported hidden", "hidden"} << Common.arg(13).arg("Type mismatch");
        // clang-format on
    }
    void runs()
    {
        QFETCH(QStringList, stored);
        QFETCH(int, count);
        QFETCH(QStringList, rows);
        QFETCH(QString, said);
        if (count > -2)
            writeList(count < 0 ? int(rows.size()) : count, rows);
        test::storeSettings(stored);
        Show s;
        s.fp.random.draws << 0.25f << 0.75f << 0.0f << 0.9f;
        QFETCH(int, ticks);
        s.run(ticks);
        QTEST(s.seen, "seen");
        QCOMPARE(s.fp.prompter.said().join(u'\n'), said);
        QCOMPARE(s.show->geometry(), QRect(0, 0, 1280, 1024)); // the whole screen, not the work area
        QCOMPARE(s.timer()->isActive(), s.seen.last() != u"hidden" || count == 0);
    }

    void settingsOfTheWindow_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<int>("interval"); // 0: the timer never ticks
        QTest::addColumn<QColor>("background");
        QTest::newRow("nothing stored") << QStringList{} << 5000 << QColor(Qt::black);
        QTest::newRow("99 s on blue") << QStringList{"Delay=99", "BackColor=16711680"} << 99000 << QColor(Qt::blue);
        QTest::newRow("0 s on red") << QStringList{"Delay=0", "BackColor=255"} << 0 << QColor(Qt::red);
    }
    void settingsOfTheWindow()
    {
        QFETCH(QStringList, stored);
        QFETCH(int, interval);
        writeList(1, {"red.bmp|480 X 640"});
        test::storeSettings(stored);
        Show s;
        s.run(0);
        QCOMPARE(s.timer()->isActive() ? s.timer()->interval() : 0, interval);
        QTEST(s.show->palette().color(QPalette::Window), "background");
        QCOMPARE(s.show->cursor().shape(), Qt::CrossCursor);
        QCOMPARE(s.show->windowTitle(), QStringLiteral("Personal Vantelo"));
        s.timer()->setInterval(5); // the timer brings the next slide
        QSignalSpy slides(s.show.data(), &FullShow::slideShown);
        QTRY_VERIFY(interval == 0 || slides.count() >= 2);
    }

    void ticksWhileAReportIsOpenAreLetGo()
    {
        writeList(1, {"gone.bmp|480 X 640"});
        Show s;
        s.fp.prompter.onMessage = [&](const auto&) { s.show->Timer1_Timer(); };
        s.run(1);
        QCOMPARE(s.fp.prompter.messages.size(), 2);
    }

    void input_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("ends");
        QTest::newRow("one-pixel move over the background") << "move" << true;
        QTest::newRow("move over the picture") << "move picture" << true;
        QTest::newRow("click on the background") << "click" << true;
        QTest::newRow("right click on the picture") << "click picture" << true;
        QTest::newRow("click on an idle show") << "click idle" << true;
        QTest::newRow("move event at the same place") << "still" << false;
        QTest::newRow("key press") << "key" << false;
        QTest::newRow("wheel") << "wheel" << false;
    }
    void input()
    {
        QFETCH(QString, action);
        writeList(1, {"red.bmp|640 X 480"}); // box at 175..624
        if (action.endsWith(u"idle"))
            test::storeSettings({"File="});
        const QPoint start = action.endsWith(u"picture") ? QPoint(400, 300) : QPoint(100, 300);
        QCursor::setPos(start); // the pointer rests there before the window appears over it
        Show s;
        s.run(0);
        s.show->show();
        QTRY_VERIFY(!s.show || s.show->windowHandle()->isExposed());
        QCoreApplication::processEvents();
        QVERIFY2(s.show, "the show ended by itself under a still pointer");
        QWidget* target = action.endsWith(u"picture") ? static_cast<QWidget*>(s.box()) : s.show.data();
        const QPoint at = target->mapFromGlobal(start);
        if (action.startsWith(u"move")) {
            QCursor::setPos(start + QPoint(1, 0));
        } else if (action.startsWith(u"click")) {
            QTest::mouseClick(target, action.endsWith(u"picture") ? Qt::RightButton : Qt::LeftButton, {}, at);
        } else if (action == u"still") {
            QMouseEvent still(QEvent::MouseMove, at, start, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(target, &still);
        } else if (action == u"key") {
            QTest::keyClick(target, Qt::Key_A);
            QTest::keyClick(target, Qt::Key_Escape);
        } else {
            QWheelEvent wheel(at, start, {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
        }
        QFETCH(bool, ends);
        if (!ends) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(s.show && s.show->isVisible());
            QCursor::setPos(start + QPoint(0, 1)); // ... and a real movement still ends it
        }
        QTRY_VERIFY(!s.show);
    }
};

VANTELO_TEST_MAIN(TestFullShow)
#include "tst_fullshow.moc"

#include "platform/ImageBox.h"
#include "settings/Settings.h"
#include "show/FullShow.h"
#include "slidelist/SlideListFile.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QCursor>
#include <QFile>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <atomic>
#include <chrono>
#include <thread>

using namespace vantelo;

namespace {

const QString Common = QStringLiteral("Personal Vantelo: Error: %1 has occurred in Project1 error was %2");
const QString EmptyList = QStringLiteral("! Personal Vantelo: No Images in the list to be displayed");

// The show over fake platform seams. It deletes itself when it unloads; whatever is left open when a
// test ends is deleted here.
struct Show : test::FakePlatformHolder
{
    QPointer<FullShow> show;
    ~Show() { delete show.data(); }
    FullShow* load(bool hosted = false)
    {
        show = new FullShow(fp.platform);
        show->setHosted(hosted);
        show->Form_Load();
        return show;
    }
    FullShow* operator->() const { return show.data(); }
    QColor color() const // the middle of the picture on screen
    {
        const QImage& picture = show->pictureBox().picture();
        return picture.isNull() ? QColor() : picture.pixelColor(picture.width() / 2, picture.height() / 2);
    }
    bool pictureShown() const { return !show->pictureBox().isHidden() && !show->pictureBox().picture().isNull(); }
    QList<QColor> colorsOverTicks(int count) // the first slide's colour, then one per tick
    {
        QList<QColor> colors{color()};
        while (colors.size() < count) {
            show->Timer1_Timer();
            colors << color();
        }
        return colors;
    }
};

} // namespace

class TestFullShow : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    QString folder() const { return m_dir->path() + u'/'; }

    void makePicture(const QString& name, const QColor& color, QSize size = QSize(40, 30))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        QVERIFY(image.save(m_dir->filePath(name), "BMP"));
    }

    // A list file of rows "name|size text" of pictures in the test's folder, named by the setting "File".
    void makeList(const QStringList& rows)
    {
        SlideRows slides;
        for (const QString& row : rows)
            slides.append({folder(), row.section(u'|', 0, 0), row.section(u'|', 1), QString()});
        WriteSlideList(slides, m_dir->filePath(QStringLiteral("list.vtl")));
        SaveSetting(SettingKey::File, m_dir->filePath(QStringLiteral("list.vtl")));
    }

    // Three pictures of known colours, listed in that order, all 640 wide and 480 high.
    void makeThreeRows()
    {
        makePicture(QStringLiteral("red.bmp"), Qt::red);
        makePicture(QStringLiteral("green.bmp"), Qt::green);
        makePicture(QStringLiteral("blue.bmp"), Qt::blue);
        makeList({"red.bmp|480 X 640", "green.bmp|480 X 640", "blue.bmp|480 X 640"});
    }

private slots:
    void init()
    {
        QFile::remove(settingsFilePath());
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void settingsAndSizeTextsAreUsed_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QColor>("back");
        // The picture file is 40 x 30 whatever the size text says: the text decides.
        // clang-format off
        QTest::newRow("defaults, 480 X 640") << QStringList() << "480 X 640" << QRect(0, 0, 800, 600) << 5000 << QColor(Qt::black);
        QTest::newRow("640 X 480") << QStringList() << "640 X 480" << QRect(175, 0, 450, 600) << 5000 << QColor(Qt::black);
        QTest::newRow("200 X 400") << QStringList() << "200 X 400" << QRect(-200, 0, 1200, 600) << 5000 << QColor(Qt::black);
        QTest::newRow("stored") << QStringList{"ScreenWidth=1000", "ScreenHeight=300", "BackColor=16711680", "Delay=99"}
                                << "480 X 640" << QRect(300, 0, 400, 300) << 99000 << QColor(Qt::blue);
        QTest::newRow("Delay 0 never ticks") << QStringList{"Delay=0"} << "480 X 640" << QRect(0, 0, 800, 600) << 0 << QColor(Qt::black);
        // clang-format on
    }
    void settingsAndSizeTextsAreUsed()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, sizeText);
        QFETCH(QRect, box);
        QFETCH(int, interval);
        makePicture(QStringLiteral("picture.bmp"), Qt::magenta);
        makeList({"picture.bmp|" + sizeText});
        test::storeSettings(stored);
        Show s;
        s.fp.screen.screen = QRect(0, 0, 1280, 1024);
        s.load();
        QVERIFY(s.fp.prompter.messages.isEmpty());
        QCOMPARE(s->slideTimer().interval(), interval);
        QCOMPARE(s->slideTimer().isActive(), interval > 0);
        QTEST(s->palette().color(QPalette::Window), "back");
        QCOMPARE(s->cursor().shape(), Qt::CrossCursor);
        // The window covers the real screen; the picture fits the stored work area, decoded at its size.
        QCOMPARE(s->geometry(), QRect(0, 0, 1280, 1024));
        QVERIFY(s.pictureShown());
        QCOMPARE(s->pictureBox().geometry(), box);
        QCOMPARE(s->pictureBox().picture().size(), box.size());
        QCOMPARE(s.color(), QColor(Qt::magenta));
    }

    void loadFailures_data()
    {
        QTest::addColumn<QString>("stored"); // a setting "Key=value", nothing at all, or what the list file holds
        QTest::addColumn<QString>("said");   // empty: nothing
        QTest::addColumn<int>("rowsKept");
        QTest::addColumn<bool>("running");
        const QString row = QStringLiteral("%1 | %2 | red.bmp | 480 X 640 | \r\n");
        // clang-format off
        QTest::newRow("nothing stored: idle") << "" << "" << 0 << false;
        QTest::newRow("deleted list file") << "File=%1gone.vtl"
            << "! Personal Vantelo: File has been Modified or Deleted, Check Settings!" << 0 << false;
        QTest::newRow("list folder missing") << "File=%1gone/list.vtl" << Common.arg(76).arg("Path not found") << 0 << false;
        QTest::newRow("Delay not a number") << "Delay=abc" << Common.arg(13).arg("Type mismatch") << 0 << false;
        QTest::newRow("Delay overflow") << "Delay=40000" << Common.arg(6).arg("Overflow") << 0 << false;
        QTest::newRow("ScreenWidth overflow") << "ScreenWidth=32768" << Common.arg(6).arg("Overflow") << 0 << false;
        QTest::newRow("BackColor not a number") << "BackColor=blue" << Common.arg(13).arg("Type mismatch") << 0 << false;
        QTest::newRow("count 5 with three rows") << " 5 \r\n" + row.arg(1) + row.arg(2) + row.arg(3)
            << Common.arg(62).arg("Input past end of file") << 3 << false;
        // A complete load: the first run finds the list empty.
        QTest::newRow("count 0") << " 0 \r\n" + row.arg(1) << EmptyList << 0 << true;
        // clang-format on
    }
    void loadFailures()
    {
        QFETCH(QString, stored);
        QFETCH(QString, said);
        makeThreeRows();
        stored = stored.contains(u'%') ? stored.arg(folder()) : stored;
        if (stored.isEmpty()) {
            QFile::remove(settingsFilePath());
        } else if (stored.contains(u'=')) {
            test::storeSettings({stored});
        } else {
            QFile file(m_dir->filePath(QStringLiteral("list.vtl")));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(stored.toUtf8());
        }
        Show s;
        s.load();
        QCOMPARE(s.fp.prompter.said(), said.isEmpty() ? QStringList() : QStringList{said});
        QTEST(int(s->slideRows().size()), "rowsKept");
        QTEST(s->slideTimer().isActive(), "running");
        QVERIFY(s->pictureBox().isHidden());
        QCOMPARE(s->geometry(), s.fp.screen.screen);
    }

    void orderedCycle()
    {
        makeThreeRows();
        Show s;
        s.load();
        QCOMPARE(s.colorsOverTicks(5), QList<QColor>({Qt::red, Qt::green, Qt::blue, Qt::red, Qt::green}));
        QCOMPARE(s->showIndex(), std::int16_t(3));
        QCOMPARE(s->showCount(), std::int16_t(3));
        QCOMPARE(s.fp.random.reseeds, 0);
        QVERIFY(s.fp.prompter.messages.isEmpty());
    }

    void randomOrder_data()
    {
        QTest::addColumn<QString>("order"); // any text but the exact word "Ordered" means random
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QList<QColor>>("colors");
        QTest::newRow("three rows") << "Random" << 3 << QList<float>{0.0f, 0.25f, 0.75f, 0.76f, 0.2f}
                                    << QList<QColor>{Qt::red, Qt::green, Qt::green, Qt::blue, Qt::red};
        QTest::newRow("one row, lower-case ordered")
            << "ordered" << 1 << QList<float>{0.0f, 0.5f, 0.99f} << QList<QColor>{Qt::red, Qt::red, Qt::red};
    }
    void randomOrder()
    {
        QFETCH(QString, order);
        QFETCH(int, rows);
        QFETCH(QList<float>, draws);
        QFETCH(QList<QColor>, colors);
        makeThreeRows();
        if (rows == 1)
            makeList({"red.bmp|480 X 640"});
        SaveSetting(SettingKey::ShowType, order);
        Show s;
        s.fp.random.draws.append(draws);
        s.load();
        QVERIFY(!s->isOrdered());
        QCOMPARE(s.colorsOverTicks(int(colors.size())), colors);
        // One fresh draw per run, each re-seeded; the next one may already have been made.
        QVERIFY(s.fp.random.reseeds >= colors.size());
        QCOMPARE(s->showIndex(), std::int16_t(1));
    }

    void emptyListReportsEveryRun()
    {
        makeList({}); // a count line of 0 and no rows
        for (const char* order : {"Ordered", "Random"}) {
            SaveSetting(SettingKey::ShowType, QString::fromLatin1(order));
            Show s;
            s.load();
            s->Timer1_Timer();
            s->Timer1_Timer();
            QCOMPARE(s.fp.prompter.said(), QStringList(3, EmptyList));
            QVERIFY(s->slideTimer().isActive());
            QVERIFY(s->pictureBox().isHidden());
        }
    }

    void tickFailures_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("said");
        QTest::newRow("missing picture") << "gone.bmp|480 X 640" << Common.arg(53).arg("File not found");
        QTest::newRow("not a picture") << "notes.jpg|480 X 640" << Common.arg(481).arg("Invalid picture");
        QTest::newRow("lower-case x") << "red.bmp|480 x 640" << Common.arg(11).arg("Division by zero");
        QTest::newRow("number beyond 16 bits") << "red.bmp|48000 X 640" << Common.arg(6).arg("Overflow");
        // The picture is loaded before the size is used, so its failure is the one reported.
        QTest::newRow("missing picture, bad size") << "gone.bmp|480 x 640" << Common.arg(53).arg("File not found");
    }
    void tickFailures()
    {
        QFETCH(QString, row);
        QFETCH(QString, said);
        makeThreeRows();
        QFile notes(m_dir->filePath(QStringLiteral("notes.jpg")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a picture at all\n");
        notes.close();
        // The bad row comes second, after a good one, and is followed by another good one.
        makeList({"red.bmp|480 X 640", row, "blue.bmp|480 X 640"});
        Show s;
        bool boxHiddenWhileReporting = false;
        s.fp.prompter.onMessage = [&](const auto&) { boxHiddenWhileReporting = s->pictureBox().isHidden(); };
        s.load();
        QVERIFY(s.pictureShown());
        s->Timer1_Timer();
        QCOMPARE(s.fp.prompter.said(), QStringList{said});
        // A size text that cannot be read fails before the box is hidden; anything later hides it.
        QCOMPARE(boxHiddenWhileReporting, !said.contains(u"Overflow"));
        QCOMPARE(s->showIndex(), std::int16_t(3));
        // The failed run still moved on: the next one shows the next row.
        s->Timer1_Timer();
        QCOMPARE(s.fp.prompter.messages.size(), 1);
        QVERIFY(s.pictureShown());
        QCOMPARE(s.color(), QColor(Qt::blue));
    }

    void ticksWhileAReportIsOpenAreLetGo()
    {
        makeList({"gone.bmp|480 X 640"});
        Show s;
        // The platform delivers a tick while the report waits for its OK.
        s.fp.prompter.onMessage = [&](const auto&) { s->Timer1_Timer(); };
        s.load();
        QCOMPARE(s.fp.prompter.messages.size(), 1);
        QCOMPARE(s->showIndex(), std::int16_t(1));
        s->Timer1_Timer();
        QCOMPARE(s.fp.prompter.messages.size(), 2);
    }

    void theNextSlideIsPreparedWhileOneIsShown()
    {
        makeThreeRows();
        Show s;
        s.show = new FullShow(s.fp.platform);
        std::atomic<int> greenDecodes = 0;
        s->slidePreparer().setDecoder([&](const QString& path, const QSize& size) {
            greenDecodes += path.endsWith(u"green.bmp");
            return QImage(path).scaled(size);
        });
        s->Form_Load();
        QTRY_COMPARE(greenDecodes.load(), 1);
        s->Timer1_Timer();
        QCOMPARE(s.color(), QColor(Qt::green));
        QCOMPARE(greenDecodes.load(), 1);
    }

    void closingWaitsForAPreparationStillRunning()
    {
        makeThreeRows();
        test::FakePlatform fp;
        QPointer<FullShow> show = new FullShow(fp.platform);
        std::atomic<int> started = 0;
        std::atomic<int> finished = 0;
        show->slidePreparer().setDecoder([&](const QString& path, const QSize& size) {
            if (++started > 1) // the prepared slide: a slow decode still running when the window goes
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
            QImage picture = QImage(path).scaled(size);
            ++finished;
            return picture;
        });
        show->Form_Load();
        show->show();
        QTRY_COMPARE(started.load(), 2);
        show->Form_Click();
        QTRY_VERIFY(show.isNull());
        QCOMPARE(finished.load(), 2);
    }

    void input_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("ends");
        QTest::newRow("one-pixel move over the background") << "move background" << true;
        QTest::newRow("move over the picture") << "move picture" << true;
        QTest::newRow("click on the background") << "click background" << true;
        QTest::newRow("right click on the picture") << "click picture" << true;
        QTest::newRow("click on an idle show, with no list") << "idle click background" << true;
        QTest::newRow("move event at the same place") << "still" << false;
        QTest::newRow("key press") << "key" << false;
        QTest::newRow("wheel") << "wheel" << false;
    }
    void input()
    {
        QFETCH(QString, action);
        QFETCH(bool, ends);
        makePicture(QStringLiteral("portrait.bmp"), Qt::red);
        makeList({"portrait.bmp|640 X 480"}); // box at 175..624
        if (action.startsWith(u"idle"))
            SaveSetting(SettingKey::File, QString());
        const QPoint background(100, 300);
        const QPoint picture(400, 300);
        // The pointer rests where the action happens before the window appears over it.
        const QPoint start = action.endsWith(u"picture") ? picture : background;
        QCursor::setPos(start);
        Show s;
        s.load();
        s->show();
        QTRY_VERIFY(!s.show || s->windowHandle()->isExposed());
        QCoreApplication::processEvents();
        QVERIFY2(s.show, "the show ended by itself under a still pointer");
        QCOMPARE(s.pictureShown(), !action.startsWith(u"idle"));

        if (action.startsWith(u"move"))
            QCursor::setPos(start + QPoint(1, 0));
        else if (action.endsWith(u"click background"))
            QTest::mouseClick(s.show, Qt::LeftButton, {}, background);
        else if (action == u"click picture")
            QTest::mouseClick(s->findChild<ImageBox*>(QStringLiteral("imgShow")), Qt::RightButton, {},
                              picture - QPoint(175, 0));
        else if (action == u"still") {
            QMouseEvent still(QEvent::MouseMove, QPointF(background), QPointF(s->mapToGlobal(background)), Qt::NoButton,
                              Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(s.show, &still);
        } else if (action == u"key") {
            QTest::keyClick(s.show, Qt::Key_A);
            QTest::keyClick(s.show, Qt::Key_Escape);
        } else if (action == u"wheel") {
            QWheelEvent wheel(QPointF(background), QPointF(s->mapToGlobal(background)), QPoint(), QPoint(0, 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(s.show, &wheel);
        }

        if (!ends) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            QVERIFY(s.show && s->isVisible());
            QCursor::setPos(start + QPoint(0, 1)); // ... and a real movement still ends it
        }
        QTRY_VERIFY(!s.show);
    }
};

VANTELO_TEST_MAIN(TestFullShow)
#include "tst_fullshow.moc"

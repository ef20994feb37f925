#include "platform/ImageBox.h"
#include "settings/Settings.h"
#include "show/FullShow.h"
#include "slidelist/SlideListFile.h"
#include "support/FakePlatform.h"
#include "support/TestMain.h"

#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QMutex>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <atomic>
#include <chrono>
#include <thread>

using namespace vantelo;
using vantelo::test::FakePlatform;

namespace {

const QString Title = QStringLiteral("Personal Vantelo");
const QString MissingListText = QStringLiteral("File has been Modified or Deleted, Check Settings!");
const QString EmptyListText = QStringLiteral("No Images in the list to be displayed");

// The show deletes itself when it unloads; this deletes it when a test ends with it still open.
class ShowUnderTest
{
public:
    explicit ShowUnderTest(Platform& platform) : m_show(new FullShow(platform)) {}
    ~ShowUnderTest() { delete m_show.data(); }
    FullShow* operator->() const { return m_show.data(); }
    FullShow* get() const { return m_show.data(); }
    bool isOpen() const { return !m_show.isNull(); }

private:
    QPointer<FullShow> m_show;
};

QColor shownColor(const FullShow& show)
{
    const QImage& picture = show.pictureBox().picture();
    return picture.isNull() ? QColor() : picture.pixelColor(picture.width() / 2, picture.height() / 2);
}

bool pictureShown(const FullShow& show)
{
    return !show.pictureBox().isHidden() && !show.pictureBox().picture().isNull();
}

ImageBox* pictureBoxOf(FullShow* show)
{
    return show->findChild<ImageBox*>(QStringLiteral("imgShow"));
}

} // namespace

class TestFullShow : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    QString folder() const { return m_dir->path() + u'/'; }

    QString makePicture(const QString& name, const QColor& color, QSize size = QSize(40, 30))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        const QString path = m_dir->filePath(name);
        if (!image.save(path, "BMP"))
            qWarning() << "could not write" << path;
        return path;
    }

    SlideRow rowFor(const QString& name, const QString& sizeText)
    {
        return SlideRow{folder(), name, sizeText, QString()};
    }

    QString makeList(const SlideRows& rows)
    {
        const QString path = m_dir->filePath(QStringLiteral("list.vtl"));
        WriteSlideList(rows, path);
        SaveSetting(SettingKey::File, path);
        return path;
    }

    // Three pictures of known colours, listed in that order, all 640 wide and 480 high.
    void makeThreeRows()
    {
        makePicture(QStringLiteral("red.bmp"), Qt::red);
        makePicture(QStringLiteral("green.bmp"), Qt::green);
        makePicture(QStringLiteral("blue.bmp"), Qt::blue);
        makeList({rowFor(QStringLiteral("red.bmp"), QStringLiteral("480 X 640")),
                  rowFor(QStringLiteral("green.bmp"), QStringLiteral("480 X 640")),
                  rowFor(QStringLiteral("blue.bmp"), QStringLiteral("480 X 640"))});
    }

private slots:
    void init()
    {
        QFile::remove(settingsFilePath());
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void defaultsWhenNothingIsStored()
    {
        FakePlatform fp;
        ShowUnderTest show(fp.platform);
        show->Form_Load();
        QVERIFY(fp.prompter.messages.isEmpty());
        QCOMPARE(show->screenWidth(), std::int16_t(800));
        QCOMPARE(show->screenHeight(), std::int16_t(600));
        QVERIFY(show->isOrdered());
        QCOMPARE(show->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(show->geometry(), fp.screen.screen);
        QCOMPARE(show->cursor().shape(), Qt::CrossCursor);
        // No list file named: idle, and nothing is ever shown.
        QVERIFY(!show->slideTimer().isActive());
        QVERIFY(show->pictureBox().isHidden());
    }

    void defaultsWithOnlyAListFile()
    {
        makeThreeRows();
        FakePlatform fp;
        ShowUnderTest show(fp.platform);
        show->Form_Load();
        QVERIFY(fp.prompter.messages.isEmpty());
        QCOMPARE(show->slideTimer().interval(), 5000);
        QVERIFY(show->slideTimer().isActive());
        QCOMPARE(fp.random.reseeds, 0);
        QCOMPARE(show->pictureBox().geometry(), QRect(0, 0, 800, 600));
        QCOMPARE(shownColor(*show.get()), QColor(Qt::red));
    }

    void storedSettingsAreUsed()
    {
        makeThreeRows();
        SaveSetting(SettingKey::ScreenWidth, QStringLiteral("1000"));
        SaveSetting(SettingKey::ScreenHeight, QStringLiteral("300"));
        SaveSetting(SettingKey::BackColor, QStringLiteral("16711680"));
        SaveSetting(SettingKey::Delay, QStringLiteral("99"));
        FakePlatform fp;
        fp.screen.screen = QRect(0, 0, 1280, 1024);
        ShowUnderTest show(fp.platform);
        show->Form_Load();
        QVERIFY(fp.prompter.messages.isEmpty());
        QCOMPARE(show->slideTimer().interval(), 99000);
        QCOMPARE(show->palette().color(QPalette::Window), QColor(Qt::blue));
        // The window covers the real screen; the picture fits the stored work area.
        QCOMPARE(show->geometry(), QRect(0, 0, 1280, 1024));
        QCOMPARE(show->pictureBox().geometry(), QRect(300, 0, 400, 300));
    }

    void showTypeWord_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("ordered");
        QTest::newRow("Ordered") << "Ordered" << true;
        QTest::newRow("Random") << "Random" << false;
        QTest::newRow("lower-case ordered") << "ordered" << false;
        QTest::newRow("empty") << "" << false;
    }
    void showTypeWord()
    {
        QFETCH(QString, stored);
        QFETCH(bool, ordered);
        makeThreeRows();
        SaveSetting(SettingKey::ShowType, stored);
        FakePlatform fp;
        fp.random.draws.enqueue(0.99f);
        ShowUnderTest show(fp.platform);
        show->Form_Load();
        QCOMPARE(show->isOrdered(), ordered);
        QCOMPARE(shownColor(*show.get()), ordered ? QColor(Qt::red) : QColor(Qt::blue));
    }

    void loadFailures_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("listText"); // written to the list file instead of the usual rows
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("exclamation");
        QTest::addColumn<int>("rowsKept");
        QTest::addColumn<bool>("running");
        const QString common = QStringLiteral("Error: %1 has occurred in Project1 error was %2");
        const QString none;
        QTest::newRow("deleted list file")
            << SettingKey::File << "%1gone.vtl" << none << MissingListText << true << 0 << false;
        QTest::newRow("list folder missing") << SettingKey::File << "%1gone/list.vtl" << none
                                             << common.arg(76).arg("Path not found") << false << 0 << false;
        QTest::newRow("Delay not a number")
            << SettingKey::Delay << "abc" << none << common.arg(13).arg("Type mismatch") << false << 0 << false;
        QTest::newRow("Delay empty") << SettingKey::Delay << "" << none << common.arg(13).arg("Type mismatch") << false
                                     << 0 << false;
        QTest::newRow("Delay overflow") << SettingKey::Delay << "40000" << none << common.arg(6).arg("Overflow")
                                        << false << 0 << false;
        QTest::newRow("ScreenWidth overflow")
            << SettingKey::ScreenWidth << "32768" << none << common.arg(6).arg("Overflow") << false << 0 << false;
        QTest::newRow("BackColor not a number")
            << SettingKey::BackColor << "blue" << none << common.arg(13).arg("Type mismatch") << false << 0 << false;
        QTest::newRow("count 5 with three rows") << QString() << QString()
                                                 << " 5 \r\n1 | %1 | red.bmp | 480 X 640 | \r\n"
                                                    "2 | %1 | red.bmp | 480 X 640 | \r\n"
                                                    "3 | %1 | red.bmp | 480 X 640 | \r\n"
                                                 << common.arg(62).arg("Input past end of file") << false << 3 << false;
        QTest::newRow("line that cannot be cut")
            << QString() << QString() << " 1 \r\n1 | %1 | red.bmp\r\n"
            << common.arg(5).arg("Invalid procedure call or argument") << false << 0 << false;
        // A complete load: the first run finds the list empty.
        QTest::newRow("count 0") << QString() << QString() << " 0 \r\n1 | %1 | red.bmp | 480 X 640 | \r\n"
                                 << EmptyListText << true << 0 << true;
    }
    void loadFailures()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, listText);
        QFETCH(QString, message);
        QFETCH(bool, exclamation);
        QFETCH(int, rowsKept);
        QFETCH(bool, running);
        makeThreeRows();
        if (!listText.isEmpty()) {
            QFile file(m_dir->filePath(QStringLiteral("list.vtl")));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(listText.arg(folder()).toUtf8());
        }
        if (!key.isEmpty())
            SaveSetting(key, value.contains(QLatin1String("%1")) ? value.arg(folder()) : value);

        FakePlatform fp;
        ShowUnderTest show(fp.platform);
        show->Form_Load();
        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(fp.prompter.messages[0].title, Title);
        QCOMPARE(fp.prompter.messages[0].text, message);
        QCOMPARE(fp.prompter.messages[0].icon, exclamation ? MessageIcon::Exclamation : MessageIcon::None);
        QCOMPARE(show->slideRows().size(), rowsKept);
        QCOMPARE(show->slideTimer().isActive(), running);
        QVERIFY(show->pictureBox().isHidden());
        QCOMPARE(show->geometry(), fp.screen.screen);
    }

    void geometryFollowsTheStoredSize_data()
    {
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QRect>("box");
        QTest::newRow("480 X 640") << "480 X 640" << QRect(0, 0, 800, 600);
        QTest::newRow("640 X 480") << "640 X 480" << QRect(175, 0, 450, 600);
        QTest::newRow("200 X 400") << "200 X 400" << QRect(-200, 0, 1200, 600);
    }
    void geometryFollowsTheStoredSize()
    {
        QFETCH(QString, sizeText);
        QFETCH(QRect, box);
        // The file is 40 x 30 whatever the size text says: the text decides.
        makePicture(QStringLiteral("picture.bmp"), Qt::magenta);
        makeList({rowFor(QStringLiteral("picture.bmp"), sizeText)});
        SaveSetting(SettingKey::ScreenWidth, QStringLiteral("800"));
        SaveSetting(SettingKey::ScreenHeight, QStringLiteral("600"));
        FakePlatform fp;
        ShowUnderTest show(fp.platform);
        show->Form_Load();
        QVERIFY(fp.prompter.messages.isEmpty());
        QVERIFY(pictureShown(*show.get()));
        QCOMPARE(show->pictureBox().geometry(), box);
        QCOMPARE(show->pictureBox().picture().size(), box.size()); // decoded at the size shown
        QCOMPARE(shownColor(*show.get()), QColor(Qt::magenta));
    }

    void orderedCycle()
    {
        makeThreeRows();
        FakePlatform fp;
        ShowUnderTest show(fp.platform);
        QSignalSpy shown(show.get(), &FullShow::slideShown);
        show->Form_Load();
        QList<QColor> colors{shownColor(*show.get())};
        QList<int> indexes{show->showIndex()};
        for (int run = 0; run < 4; ++run) {
            show->Timer1_Timer();
            colors << shownColor(*show.get());
            indexes << show->showIndex();
        }
        QCOMPARE(colors, QList<QColor>({Qt::red, Qt::green, Qt::blue, Qt::red, Qt::green}));
        QCOMPARE(indexes, QList<int>({2, 3, 1, 2, 3}));
        QCOMPARE(show->showCount(), std::int16_t(3));
        QCOMPARE(shown.size(), 5);
        QCOMPARE(fp.random.reseeds, 0);
        QVERIFY(fp.prompter.messages.isEmpty());
    }

    void randomOrder_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QList<QColor>>("colors");
        QTest::newRow("three rows") << 3 << QList<float>{0.0f, 0.25f, 0.75f, 0.76f, 0.2f}
                                    << QList<QColor>{Qt::red, Qt::green, Qt::green, Qt::blue, Qt::red};
        QTest::newRow("one row") << 1 << QList<float>{0.0f, 0.5f, 0.99f, 0.7f}
                                 << QList<QColor>{Qt::red, Qt::red, Qt::red, Qt::red};
    }
    void randomOrder()
    {
        QFETCH(int, rows);
        QFETCH(QList<float>, draws);
        QFETCH(QList<QColor>, colors);
        makeThreeRows();
        if (rows == 1)
            makeList({rowFor(QStringLiteral("red.bmp"), QStringLiteral("480 X 640"))});
        SaveSetting(SettingKey::ShowType, QStringLiteral("Random"));
        FakePlatform fp;
        for (float draw : draws)
            fp.random.draws.enqueue(draw);
        ShowUnderTest show(fp.platform);
        show->Form_Load();
        QList<QColor> shown{shownColor(*show.get())};
        while (shown.size() < colors.size()) {
            show->Timer1_Timer();
            shown << shownColor(*show.get());
        }
        QCOMPARE(shown, colors);
        // One fresh draw per run, each re-seeded; the next one may already have been made.
        QVERIFY(fp.random.reseeds >= colors.size());
        QCOMPARE(show->showIndex(), std::int16_t(1));
    }

    void emptyListReportsEveryRun()
    {
        makeList({}); // a count line of 0 and no rows
        for (const QString& order : {QStringLiteral("Ordered"), QStringLiteral("Random")}) {
            SaveSetting(SettingKey::ShowType, order);
            FakePlatform fp;
            ShowUnderTest show(fp.platform);
            show->Form_Load();
            show->Timer1_Timer();
            show->Timer1_Timer();
            QCOMPARE(fp.prompter.messages.size(), 3);
            for (const auto& message : fp.prompter.messages) {
                QCOMPARE(message.text, EmptyListText);
                QCOMPARE(message.icon, MessageIcon::Exclamation);
            }
            QVERIFY(show->slideTimer().isActive());
            QVERIFY(show->pictureBox().isHidden());
        }
    }

    void tickFailures_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QString>("message");
        const QString common = QStringLiteral("Error: %1 has occurred in Project1 error was %2");
        QTest::newRow("missing picture") << "gone.bmp"
                                         << "480 X 640" << common.arg(53).arg("File not found");
        QTest::newRow("not a picture") << "notes.jpg"
                                       << "480 X 640" << common.arg(481).arg("Invalid picture");
        QTest::newRow("lower-case x") << "red.bmp"
                                      << "480 x 640" << common.arg(11).arg("Division by zero");
        QTest::newRow("zero width") << "red.bmp"
                                    << "480 X 0" << common.arg(11).arg("Division by zero");
        QTest::newRow("number beyond 16 bits") << "red.bmp"
                                               << "48000 X 640" << common.arg(6).arg("Overflow");
        // The picture is loaded before the size is used, so its failure is the one reported.
        QTest::newRow("missing picture, bad size") << "gone.bmp"
                                                   << "480 x 640" << common.arg(53).arg("File not found");
    }
    void tickFailures()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, sizeText);
        QFETCH(QString, message);
        makeThreeRows();
        QFile notes(m_dir->filePath(QStringLiteral("notes.jpg")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a picture at all\n");
        notes.close();
        // The bad row comes second, after a good one, and is followed by another good one.
        makeList({rowFor(QStringLiteral("red.bmp"), QStringLiteral("480 X 640")), rowFor(fileName, sizeText),
                  rowFor(QStringLiteral("blue.bmp"), QStringLiteral("480 X 640"))});
        FakePlatform fp;
        ShowUnderTest show(fp.platform);
        bool boxHiddenWhileReporting = false;
        fp.prompter.onMessage = [&](const auto&) { boxHiddenWhileReporting = show->pictureBox().isHidden(); };
        show->Form_Load();
        QVERIFY(pictureShown(*show.get()));
        const bool sizeFailsFirst = message.contains(QLatin1String("Overflow"));

        show->Timer1_Timer();
        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(fp.prompter.messages[0].text, message);
        QCOMPARE(fp.prompter.messages[0].icon, MessageIcon::None);
        QCOMPARE(fp.prompter.messages[0].title, Title);
        // A size text that cannot be read fails before the box is hidden; anything later hides it.
        QCOMPARE(boxHiddenWhileReporting, !sizeFailsFirst);
        QCOMPARE(show->showIndex(), std::int16_t(3));

        // The failed run still moved on: the next one shows the next row.
        show->Timer1_Timer();
        QCOMPARE(fp.prompter.messages.size(), 1);
        QVERIFY(pictureShown(*show.get()));
        QCOMPARE(shownColor(*show.get()), QColor(Qt::blue));
    }

    void delayZeroShowsOnlyTheFirstSlide()
    {
        makeThreeRows();
        SaveSetting(SettingKey::Delay, QStringLiteral("0"));
        FakePlatform fp;
        ShowUnderTest show(fp.platform);
        QSignalSpy shown(show.get(), &FullShow::slideShown);
        show->Form_Load();
        QCOMPARE(shown.size(), 1);
        QVERIFY(!show->slideTimer().isActive());
        QVERIFY(fp.prompter.messages.isEmpty());
    }

    void timerTicksShowTheNextSlides()
    {
        makeThreeRows();
        SaveSetting(SettingKey::Delay, QStringLiteral("1"));
        FakePlatform fp;
        ShowUnderTest show(fp.platform);
        QSignalSpy shown(show.get(), &FullShow::slideShown);
        show->Form_Load();
        QCOMPARE(show->slideTimer().interval(), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 3, 20000);
        QCOMPARE(shownColor(*show.get()), QColor(Qt::blue));
    }

    void ticksWhileAReportIsOpenAreLetGo()
    {
        makeList({rowFor(QStringLiteral("gone.bmp"), QStringLiteral("480 X 640"))});
        FakePlatform fp;
        ShowUnderTest show(fp.platform);
        // The platform delivers a tick while the report waits for its OK.
        fp.prompter.onMessage = [&](const auto&) { show->Timer1_Timer(); };
        show->Form_Load();
        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(show->showIndex(), std::int16_t(1));
        show->Timer1_Timer();
        QCOMPARE(fp.prompter.messages.size(), 2);
    }

    void preparedSlideIsUsedWhileItStillMatches()
    {
        makeThreeRows();
        FakePlatform fp;
        ShowUnderTest show(fp.platform);
        QMutex mutex;
        QStringList decoded;
        show->slidePreparer().setDecoder([&](const QString& path, const QSize& size) {
            const QMutexLocker lock(&mutex);
            decoded << QFileInfo(path).fileName();
            return QImage(path).scaled(size);
        });
        const auto decodes = [&](const char* name) {
            const QMutexLocker lock(&mutex);
            return decoded.count(QLatin1String(name));
        };
        show->Form_Load();
        // The first slide was decoded on the spot, the second is prepared in the background.
        QTRY_COMPARE(decodes("green.bmp"), 1);
        show->Timer1_Timer();
        QCOMPARE(shownColor(*show.get()), QColor(Qt::green));
        QCOMPARE(decodes("green.bmp"), 1);

        // The third file is rewritten after it was prepared: the prepared picture is stale.
        QTRY_COMPARE(decodes("blue.bmp"), 1);
        QFile::remove(m_dir->filePath(QStringLiteral("blue.bmp")));
        makePicture(QStringLiteral("blue.bmp"), Qt::yellow, QSize(60, 20));
        show->Timer1_Timer();
        QCOMPARE(decodes("blue.bmp"), 2);
        QCOMPARE(shownColor(*show.get()), QColor(Qt::yellow));
        QCOMPARE(show->pictureBox().geometry(), QRect(0, 0, 800, 600)); // still the stored size
    }

    void closingWaitsForAPreparationStillRunning()
    {
        makeThreeRows();
        FakePlatform fp;
        auto* show = new FullShow(fp.platform);
        QPointer<FullShow> guard(show);
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
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(finished.load(), 2);
    }

    // In a host's window: the host's size stands for the screen and the recorded work area.
    void hostedShowFitsTheHostWindow()
    {
        makePicture(QStringLiteral("square.bmp"), Qt::red);
        makeList({rowFor(QStringLiteral("square.bmp"), QStringLiteral("100 X 100"))});
        // A recorded work area that is not the host's window, and one that could not even be read.
        SaveSetting(SettingKey::ScreenWidth, QStringLiteral("1000"));
        SaveSetting(SettingKey::ScreenHeight, QStringLiteral("abc"));
        FakePlatform fp;
        fp.screen.screen = fp.screen.work = QRect(0, 0, 320, 200);
        ShowUnderTest show(fp.platform);
        show->setHosted(true);
        show->Form_Load();
        QVERIFY(fp.prompter.messages.isEmpty());
        QCOMPARE(show->geometry(), QRect(0, 0, 320, 200));
        QVERIFY(!(show->windowState() & Qt::WindowFullScreen));
        QVERIFY(!(show->windowFlags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(show->screenWidth(), std::int16_t(320));
        QCOMPARE(show->screenHeight(), std::int16_t(200));
        QCOMPARE(show->pictureBox().geometry(), QRect(60, 0, 200, 200));
        QCOMPARE(show->pictureBox().picture().size(), QSize(200, 200));
        QVERIFY(show->slideTimer().isActive());

        // The host resizes its window: the slide on screen is fitted again at once, the next one is
        // decoded at the new size.
        show->show();
        show->resize(400, 260);
        QTRY_COMPARE(show->pictureBox().geometry(), QRect(70, 0, 260, 260));
        QCOMPARE(show->screenWidth(), std::int16_t(400));
        QCOMPARE(show->screenHeight(), std::int16_t(260));
        show->Timer1_Timer();
        QCOMPARE(show->pictureBox().geometry(), QRect(70, 0, 260, 260));
        QCOMPARE(show->pictureBox().picture().size(), QSize(260, 260));
        QVERIFY(fp.prompter.messages.isEmpty());
    }

    void hostedShowFailuresAreReportedAsUsual()
    {
        makeList({rowFor(QStringLiteral("gone.bmp"), QStringLiteral("480 X 640"))});
        SaveSetting(SettingKey::Delay, QStringLiteral("x"));
        FakePlatform fp;
        fp.screen.screen = fp.screen.work = QRect(0, 0, 320, 200);
        ShowUnderTest show(fp.platform);
        show->setHosted(true);
        show->Form_Load();
        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(fp.prompter.messages[0].text,
                 QStringLiteral("Error: 13 has occurred in Project1 error was Type mismatch"));
        QCOMPARE(show->geometry(), QRect(0, 0, 320, 200));
        QVERIFY(!show->slideTimer().isActive());
    }

    void input_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("hosted");
        QTest::addColumn<bool>("ends");
        QTest::newRow("one-pixel move over the background") << "move background" << false << true;
        QTest::newRow("move over the picture") << "move picture" << false << true;
        QTest::newRow("click on the background") << "click background" << false << true;
        QTest::newRow("right click on the picture") << "click picture" << false << true;
        QTest::newRow("move event at the same place") << "still" << false << false;
        QTest::newRow("key press") << "key" << false << false;
        QTest::newRow("wheel") << "wheel" << false << false;
        // A host's window: input is the host's, which ends the show itself.
        QTest::newRow("hosted: move over the background") << "move background" << true << false;
        QTest::newRow("hosted: move over the picture") << "move picture" << true << false;
        QTest::newRow("hosted: click on the background") << "click background" << true << false;
        QTest::newRow("hosted: click on the picture") << "click picture" << true << false;
    }
    void input()
    {
        QFETCH(QString, action);
        QFETCH(bool, hosted);
        QFETCH(bool, ends);
        makePicture(QStringLiteral("portrait.bmp"), Qt::red);
        makeList({rowFor(QStringLiteral("portrait.bmp"), QStringLiteral("640 X 480"))}); // box at 175..624
        const QPoint background(100, 300);
        const QPoint picture(400, 300);
        // The pointer rests where the action happens before the window appears over it.
        const QPoint start = action.endsWith(QLatin1String("picture")) ? picture : background;
        QCursor::setPos(start);

        FakePlatform fp;
        if (hosted) // a host's window as large as the stored work area, so the picture lands in the same place
            fp.screen.screen = fp.screen.work = QRect(0, 0, 800, 600);
        ShowUnderTest show(fp.platform);
        show->setHosted(hosted);
        show->Form_Load();
        show->show();
        QTRY_VERIFY(!show.isOpen() || show->windowHandle()->isExposed());
        QCoreApplication::processEvents();
        QVERIFY2(show.isOpen(), "the show ended by itself under a still pointer");
        QVERIFY(pictureShown(*show.get()));

        if (action.startsWith(QLatin1String("move")))
            QCursor::setPos(start + QPoint(1, 0));
        else if (action == QLatin1String("click background"))
            QTest::mouseClick(show.get(), Qt::LeftButton, {}, background);
        else if (action == QLatin1String("click picture"))
            QTest::mouseClick(pictureBoxOf(show.get()), Qt::RightButton, {}, picture - QPoint(175, 0));
        else if (action == QLatin1String("still")) {
            QMouseEvent still(QEvent::MouseMove, QPointF(background), QPointF(show->mapToGlobal(background)),
                              Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(show.get(), &still);
        } else if (action == QLatin1String("key")) {
            QTest::keyClick(show.get(), Qt::Key_A);
            QTest::keyClick(show.get(), Qt::Key_Escape);
        } else if (action == QLatin1String("wheel")) {
            QWheelEvent wheel(QPointF(background), QPointF(show->mapToGlobal(background)), QPoint(), QPoint(0, 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(show.get(), &wheel);
        }

        if (ends) {
            QTRY_VERIFY(!show.isOpen());
        } else {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            QVERIFY(show.isOpen());
            QVERIFY(show->isVisible());
            if (hosted) {
                QVERIFY(show->slideTimer().isActive());
                return;
            }
            // ... and a real movement still ends it.
            QCursor::setPos(start + QPoint(0, 1));
            QTRY_VERIFY(!show.isOpen());
        }
    }

    void idleShowEndsOnInputToo()
    {
        QCursor::setPos(QPoint(50, 50));
        FakePlatform fp;
        ShowUnderTest show(fp.platform);
        show->Form_Load(); // no list file: idle
        show->show();
        QVERIFY(QTest::qWaitForWindowExposed(show.get()));
        QTest::mouseClick(show.get(), Qt::LeftButton, {}, QPoint(50, 50));
        QTRY_VERIFY(!show.isOpen());
    }
};

VANTELO_TEST_MAIN(TestFullShow)
#include "tst_fullshow.moc"

#include "ConfigTest.h"
#include "platform/ImageBox.h"
#include "config/PreviewFitting.h"
#include "config/StatusBar.h"
#include "config/Vantelo.h"
#include "config/WindowTimer.h"
#include "settings/Settings.h"
#include "show/FullShow.h"
#include "slidelist/SlideListFile.h"
#include "support/FakePlatform.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace vantelo;
using vantelo::test::FakePlatform;

namespace {

const QString Caption = QStringLiteral("Personal Vantelo Creator");
const QString NoListFile = QStringLiteral("No Image File saved for Vantelo");
const QString NoImages = QStringLiteral("No Images in the list to be displayed");

// The controls the running look disables, in the order the look sets them.
QList<QWidget*> demoLockedControls(const Vantelo& window)
{
    return {window.cmdDemoLG, window.optShowStyle[0], window.optShowStyle[1], window.cmdTimer};
}

bool looksIdle(const Vantelo& window)
{
    for (QWidget* control : demoLockedControls(window)) {
        if (!control->isEnabled())
            return false;
    }
    return !window.Timer1->isEnabled() && window.cmdDemoSM->text() == QStringLiteral("Demo SM") &&
           window.cmdDemoSM->toolTip() == QStringLiteral("Starts the Small Slide Show Demonstration");
}

bool looksRunning(const Vantelo& window)
{
    for (QWidget* control : demoLockedControls(window)) {
        if (control->isEnabled())
            return false;
    }
    return window.Timer1->isEnabled() && window.cmdDemoSM->text() == QStringLiteral("Stop") &&
           window.cmdDemoSM->toolTip() == QStringLiteral("Ends the Slide Show Demonstration");
}

QList<FullShow*> shownFullShows()
{
    QList<FullShow*> shows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* show = qobject_cast<FullShow*>(window); show && show->isVisible())
            shows << show;
    }
    return shows;
}

} // namespace

class TestDemo : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_folder; // ends in the separator, as a slide list row's folder does

    QString picture(const QString& name, int width, int height)
    {
        return vantelo::test::writePicture(m_dir.path(), name, width, height, "JPEG");
    }

    // A row as the list editing adds it: folder, file name, size text, spare.
    void addRow(Vantelo& window, const QString& name, const QString& sizeText)
    {
        window.lvwMain->addTopLevelItem(new QTreeWidgetItem({m_folder, name, sizeText, QString()}));
    }

    // A window with a saved list and the rows a.jpg (80 x 60), b.jpg (60 x 80), c.jpg (40 x 40).
    void prepare(Vantelo& window, int rows = 3)
    {
        window.Form_Load();
        const QStringList names{"a.jpg", "b.jpg", "c.jpg"};
        const QStringList sizes{"60 X 80", "80 X 60", "40 X 40"};
        for (int row = 0; row < rows; ++row)
            addRow(window, names[row], sizes[row]);
    }

private slots:
    void initTestCase()
    {
        m_folder = m_dir.path() + QDir::separator();
        QVERIFY(!picture("a.jpg", 80, 60).isEmpty());
        QVERIFY(!picture("b.jpg", 60, 80).isEmpty());
        QVERIFY(!picture("c.jpg", 40, 40).isEmpty());
    }
    void init()
    {
        QFile::remove(settingsFilePath());
        // Only the setting's presence counts; the file itself is never opened by the small demonstration.
        SaveSetting(SettingKey::File, m_dir.filePath(QStringLiteral("gone.vtl")));
    }

    void nothingStartsWithoutASavedList()
    {
        QFile::remove(settingsFilePath());
        FakePlatform fp;
        Vantelo window(fp.platform);
        prepare(window);
        window.stbVantelo->setPanelText(2, QStringLiteral("/pictures/a.jpg"));
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QTest::mouseClick(window.cmdDemoLG, Qt::LeftButton);

        QCOMPARE(fp.prompter.messages.size(), 2);
        for (const auto& message : fp.prompter.messages) {
            QCOMPARE(message.icon, MessageIcon::Exclamation);
            QCOMPARE(message.title, Caption);
            QCOMPARE(message.text, NoListFile);
        }
        QVERIFY(looksIdle(window));
        QCOMPARE(window.stbVantelo->panelText(2), QStringLiteral("/pictures/a.jpg"));
        QCOMPARE(window.lblPicName->text(), QStringLiteral("Torvane Consulting"));
        QVERIFY(shownFullShows().isEmpty());
    }

    void anEmptyListReportsAndReturnsToIdle()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        prepare(window, 0);
        bool timerOffWhileReporting = false;
        fp.prompter.onMessage = [&](const auto&) { timerOffWhileReporting = !window.Timer1->isEnabled(); };
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);

        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(fp.prompter.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(fp.prompter.messages[0].title, Caption);
        QCOMPARE(fp.prompter.messages[0].text, NoImages);
        QVERIFY(timerOffWhileReporting);
        QVERIFY(looksIdle(window));
    }

    void theFirstSlideComesAtTheClickInTheRunningLook()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        prepare(window);
        for (int panel = 2; panel <= 4; ++panel)
            window.stbVantelo->setPanelText(panel, QStringLiteral("old"));
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);

        QVERIFY(fp.prompter.messages.isEmpty());
        QVERIFY(looksRunning(window));
        QCOMPARE(window.lblPicName->text(), QStringLiteral("a.jpg"));
        QCOMPARE(window.strPicPath, m_folder + QStringLiteral("a.jpg"));
        QCOMPARE(window.strPicSize, QStringLiteral("60 X 80"));
        QVERIFY(!window.imgPreview->isHidden());
        QCOMPARE(window.imgPreview->box(), fitPreviewBox(u"60 X 80"));
        // Decoded at the preview's size: the picture itself, red on the left, blue on the right.
        const QImage shown = window.imgPreview->picture();
        QCOMPARE(shown.size(), window.imgPreview->size());
        QVERIFY(qRed(shown.pixel(10, 60)) > 200 && qBlue(shown.pixel(10, 60)) < 60);
        QVERIFY(qBlue(shown.pixel(shown.width() - 10, 60)) > 200);
        for (int panel = 2; panel <= 4; ++panel)
            QVERIFY(window.stbVantelo->panelText(panel).isEmpty());
        QCOMPARE(int(window.intDemoIndex), 2);
    }

    void theTimerBringsTheNextSlide()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        prepare(window);
        window.Timer1->setInterval(20);
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QCOMPARE(window.lblPicName->text(), QStringLiteral("a.jpg"));
        QTRY_COMPARE(window.lblPicName->text(), QStringLiteral("b.jpg"));
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QVERIFY(looksIdle(window));
    }

    void listOrderCycles_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("three rows") << 3 << QStringList{"a.jpg", "b.jpg", "c.jpg", "a.jpg", "b.jpg"};
        QTest::newRow("one row") << 1 << QStringList{"a.jpg", "a.jpg", "a.jpg"};
    }
    void listOrderCycles()
    {
        QFETCH(int, rows);
        QFETCH(QStringList, shown);
        FakePlatform fp;
        Vantelo window(fp.platform);
        prepare(window, rows);
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QStringList seen{window.lblPicName->text()};
        while (seen.size() < shown.size()) {
            window.Timer1_Timer();
            seen << window.lblPicName->text();
        }
        QCOMPARE(seen, shown);
        QVERIFY(looksRunning(window));
        QVERIFY(fp.prompter.messages.isEmpty());
    }

    void rowsAddedDuringTheShowJoinTheCycle()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        prepare(window, 2);
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QCOMPARE(window.lblPicName->text(), QStringLiteral("a.jpg"));
        addRow(window, QStringLiteral("c.jpg"), QStringLiteral("40 X 40"));
        QStringList seen;
        for (int tick = 0; tick < 3; ++tick) {
            window.Timer1_Timer();
            seen << window.lblPicName->text();
        }
        QCOMPARE(seen, (QStringList{"b.jpg", "c.jpg", "a.jpg"}));
    }

    void rowsRemovedBelowThePositionEndTheShow()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        prepare(window);
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        window.Timer1_Timer();
        QCOMPARE(int(window.intDemoIndex), 3);
        delete window.lvwMain->takeTopLevelItem(2);
        delete window.lvwMain->takeTopLevelItem(1);
        bool timerOffWhileReporting = false;
        fp.prompter.onMessage = [&](const auto&) { timerOffWhileReporting = !window.Timer1->isEnabled(); };
        window.Timer1_Timer();

        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(fp.prompter.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(fp.prompter.messages[0].text, NoImages);
        QVERIFY(timerOffWhileReporting);
        QVERIFY(looksIdle(window));
        // Ended by a failure: the preview keeps the last slide.
        QCOMPARE(window.lblPicName->text(), QStringLiteral("b.jpg"));
    }

    void aDeletedPictureEndsTheShowWithTheCommonReport()
    {
        const QString doomed = picture("doomed.jpg", 50, 50);
        FakePlatform fp;
        Vantelo window(fp.platform);
        prepare(window, 1);
        addRow(window, QStringLiteral("doomed.jpg"), QStringLiteral("50 X 50"));
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        // Deleted while the slide before it is on screen, after its decoding may have begun.
        QVERIFY(QFile::remove(doomed));
        bool timerOffWhileReporting = false;
        fp.prompter.onMessage = [&](const auto&) { timerOffWhileReporting = !window.Timer1->isEnabled(); };
        window.Timer1_Timer();

        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(fp.prompter.messages[0].icon, MessageIcon::None);
        QCOMPARE(fp.prompter.messages[0].title, Caption);
        QCOMPARE(fp.prompter.messages[0].text,
                 QStringLiteral("Error: 53 has occurred in Project1 error was File not found"));
        QVERIFY(timerOffWhileReporting);
        QVERIFY(looksIdle(window));
        QVERIFY(window.imgPreview->isHidden());
        QCOMPARE(window.lblPicName->text(), QStringLiteral("a.jpg"));
        QCOMPARE(window.strPicPath, doomed);
        QCOMPARE(window.strPicSize, QStringLiteral("50 X 50"));
    }

    void stoppingRestoresTheDefaultPicture_data()
    {
        QTest::addColumn<bool>("byPreview");
        QTest::newRow("a click on the preview") << true;
        QTest::newRow("the Stop button") << false;
    }
    void stoppingRestoresTheDefaultPicture()
    {
        QFETCH(bool, byPreview);
        FakePlatform fp;
        Vantelo window(fp.platform);
        prepare(window);
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QTest::mouseClick(byPreview ? static_cast<QWidget*>(window.imgPreview) : window.cmdDemoSM, Qt::LeftButton);

        QVERIFY(looksIdle(window));
        QCOMPARE(window.imgPreview->box(), DefaultPreviewBox);
        QVERIFY(!window.imgPreview->isHidden());
        QCOMPARE(window.lblPicName->text(), QStringLiteral("Torvane Consulting"));
        for (int panel = 2; panel <= 4; ++panel)
            QVERIFY(window.stbVantelo->panelText(panel).isEmpty());
        QVERIFY(fp.prompter.messages.isEmpty());
        // A new start begins again at the first row.
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QCOMPARE(window.lblPicName->text(), QStringLiteral("a.jpg"));
    }

    void aClickOnThePreviewWhenIdleDoesNothing()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        prepare(window);
        window.FitPreview(QStringLiteral("60 X 80"));
        window.lblPicName->setText(QStringLiteral("a.jpg"));
        QTest::mouseClick(window.imgPreview, Qt::LeftButton);
        QVERIFY(looksIdle(window));
        QCOMPARE(window.imgPreview->box(), fitPreviewBox(u"60 X 80"));
        QCOMPARE(window.lblPicName->text(), QStringLiteral("a.jpg"));
        QVERIFY(fp.prompter.messages.isEmpty());
    }

    void randomOrderTakesTheNearestPosition_data()
    {
        QTest::addColumn<QString>("storedOrder");
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QStringList>("shown");
        // Three rows: position = draw * 2 + 1, halves to the even neighbour.
        QTest::newRow("random") << "Random" << QList<float>{0.25f, 0.75f, 0.0f, 0.9f}
                                << QStringList{"b.jpg", "b.jpg", "a.jpg", "c.jpg"};
        // A stored order in neither word leaves both options off; the show then runs at random too.
        QTest::newRow("neither order on") << "random" << QList<float>{0.2f, 0.8f} << QStringList{"a.jpg", "c.jpg"};
    }
    void randomOrderTakesTheNearestPosition()
    {
        QFETCH(QString, storedOrder);
        QFETCH(QList<float>, draws);
        QFETCH(QStringList, shown);
        SaveSetting(SettingKey::ShowType, storedOrder);
        FakePlatform fp;
        for (float draw : draws)
            fp.random.draws.enqueue(draw);
        Vantelo window(fp.platform);
        prepare(window);
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QStringList seen{window.lblPicName->text()};
        while (seen.size() < shown.size()) {
            window.Timer1_Timer();
            seen << window.lblPicName->text();
        }
        QCOMPARE(seen, shown);
        QCOMPARE(int(window.intDemoIndex), 1);
        // One fresh seed for every slide (the next one's drawn ahead).
        QVERIFY(fp.random.reseeds >= shown.size());
        QVERIFY(fp.prompter.messages.isEmpty());
    }

    void theLargeDemonstrationOpensTheShowOverTheWindow()
    {
        const QString list = m_dir.filePath(QStringLiteral("large.vtl"));
        WriteSlideList({SlideRow{m_folder, QStringLiteral("a.jpg"), QStringLiteral("60 X 80"), QString()}}, list);
        SaveSetting(SettingKey::File, list);
        FakePlatform fp;
        Vantelo window(fp.platform);
        prepare(window);
        window.show();
        QTest::mouseClick(window.cmdDemoLG, Qt::LeftButton);

        QCOMPARE(shownFullShows().size(), 1);
        QPointer<FullShow> show = shownFullShows().constFirst();
        QVERIFY(show->isWindow());
        QCOMPARE(show->parentWidget(), nullptr);
        QCOMPARE(show->windowModality(), Qt::NonModal);
        QVERIFY(window.isVisible());
        QVERIFY(looksIdle(window));

        // A second click while it is open brings no second show.
        QTest::mouseClick(window.cmdDemoLG, Qt::LeftButton);
        QCOMPARE(shownFullShows().size(), 1);

        show->close();
        QVERIFY(!show || !show->isVisible());
        delete show;
        QVERIFY(window.isVisible());
        QVERIFY(window.isEnabled());
        // ... and the window goes on working.
        window.txtTimer->setText(QStringLiteral("7"));
        QTest::mouseClick(window.cmdTimer, Qt::LeftButton);
        QCOMPARE(GetSetting(SettingKey::Delay), QStringLiteral("7"));
        QTest::mouseClick(window.cmdDemoLG, Qt::LeftButton);
        QCOMPARE(shownFullShows().size(), 1);
        delete shownFullShows().constFirst();
    }
};

VANTELO_TEST_MAIN(TestDemo)
#include "tst_demo.moc"

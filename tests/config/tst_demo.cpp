#include "ConfigTest.h"
#include "config/PreviewFitting.h"
#include "config/StatusBar.h"
#include "config/WindowTimer.h"
#include "platform/ImageBox.h"
#include "show/FullShow.h"
#include "slidelist/SlideListFile.h"
#include "support/TestMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace vantelo;
using test::TestWindow;

namespace {

const QString NoImages = test::warning(QStringLiteral("No Images in the list to be displayed"));

// "idle" or "running" when every control has that look of the small demonstration, else "mixed".
QString demoLook(const Vantelo& window)
{
    const QList<QWidget*> locked{window.cmdDemoLG, window.optShowStyle[0], window.optShowStyle[1], window.cmdTimer};
    const bool running = window.Timer1->isEnabled();
    for (QWidget* control : locked) {
        if (control->isEnabled() == running)
            return QStringLiteral("mixed");
    }
    const QStringList look{window.cmdDemoSM->text(), window.cmdDemoSM->toolTip()};
    if (running && look == QStringList{"Stop", "Ends the Slide Show Demonstration"})
        return QStringLiteral("running");
    if (!running && look == QStringList{"Demo SM", "Starts the Small Slide Show Demonstration"})
        return QStringLiteral("idle");
    return QStringLiteral("mixed");
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

    // A row as the list editing adds it: folder (ending in the separator), file name, size text, spare.
    void addRow(Vantelo& window, const QString& name, const QString& sizeText)
    {
        window.lvwMain->addTopLevelItem(new QTreeWidgetItem({m_dir.path() + u'/', name, sizeText, QString()}));
    }
    // The first rows of a.jpg (80 x 60), b.jpg (60 x 80), c.jpg (40 x 40).
    void addRows(Vantelo& window, int rows = 3)
    {
        const QStringList names{"a.jpg", "b.jpg", "c.jpg"};
        const QStringList sizes{"60 X 80", "80 X 60", "40 X 40"};
        for (int row = 0; row < rows; ++row)
            addRow(window, names[row], sizes[row]);
    }
    // The names shown: the first slide's at the click, then one per tick.
    QStringList namesOverTicks(Vantelo& window, int count)
    {
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QStringList seen{window.lblPicName->text()};
        while (seen.size() < count) {
            window.Timer1_Timer();
            seen << window.lblPicName->text();
        }
        return seen;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(!test::writePicture(m_dir.path(), "a.jpg", 80, 60).isEmpty());
        QVERIFY(!test::writePicture(m_dir.path(), "b.jpg", 60, 80).isEmpty());
        QVERIFY(!test::writePicture(m_dir.path(), "c.jpg", 40, 40).isEmpty());
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
        TestWindow window;
        addRows(window);
        window.stbVantelo->setPanelText(2, QStringLiteral("/pictures/a.jpg"));
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QTest::mouseClick(window.cmdDemoLG, Qt::LeftButton);
        QCOMPARE(window.fp.prompter.said(), QStringList(2, test::warning("No Image File saved for Vantelo")));
        QCOMPARE(demoLook(window), QStringLiteral("idle"));
        QCOMPARE(window.stbVantelo->panelText(2), QStringLiteral("/pictures/a.jpg"));
        QCOMPARE(window.lblPicName->text(), QStringLiteral("Torvane Consulting"));
        QVERIFY(shownFullShows().isEmpty());
    }

    void anEmptyListReportsAndReturnsToIdle()
    {
        TestWindow window;
        bool timerOffWhileReporting = false;
        window.fp.prompter.onMessage = [&](const auto&) { timerOffWhileReporting = !window.Timer1->isEnabled(); };
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QCOMPARE(window.fp.prompter.said(), QStringList{NoImages});
        QVERIFY(timerOffWhileReporting);
        QCOMPARE(demoLook(window), QStringLiteral("idle"));
    }

    void theFirstSlideComesAtTheClickInTheRunningLook()
    {
        TestWindow window;
        addRows(window);
        for (int panel = 2; panel <= 4; ++panel)
            window.stbVantelo->setPanelText(panel, QStringLiteral("old"));
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QVERIFY(window.fp.prompter.messages.isEmpty());
        QCOMPARE(demoLook(window), QStringLiteral("running"));
        QCOMPARE(window.lblPicName->text(), QStringLiteral("a.jpg"));
        QCOMPARE(window.strPicPath, m_dir.filePath(QStringLiteral("a.jpg")));
        QCOMPARE(window.strPicSize, QStringLiteral("60 X 80"));
        QVERIFY(!window.imgPreview->isHidden());
        QCOMPARE(window.imgPreview->box(), fitPreviewBox(u"60 X 80"));
        // Decoded at the preview's size: the picture itself, red on the left, blue on the right.
        const QImage shown = window.imgPreview->picture();
        QCOMPARE(shown.size(), window.imgPreview->size());
        QVERIFY(qRed(shown.pixel(10, 60)) > 200 && qBlue(shown.pixel(10, 60)) < 60);
        QVERIFY(qBlue(shown.pixel(shown.width() - 10, 60)) > 200);
        QCOMPARE(window.stbVantelo->panelText(2) + window.stbVantelo->panelText(3) + window.stbVantelo->panelText(4),
                 QString());
        QCOMPARE(int(window.intDemoIndex), 2);
        // The timer brings the next slide.
        window.Timer1->setInterval(20);
        QTRY_COMPARE(window.lblPicName->text(), QStringLiteral("b.jpg"));
    }

    void listOrderCycles()
    {
        TestWindow window;
        addRows(window);
        QCOMPARE(namesOverTicks(window, 5), (QStringList{"a.jpg", "b.jpg", "c.jpg", "a.jpg", "b.jpg"}));
        TestWindow one;
        addRows(one, 1);
        QCOMPARE(namesOverTicks(one, 3), (QStringList{"a.jpg", "a.jpg", "a.jpg"}));
        QCOMPARE(demoLook(one), QStringLiteral("running"));
        QVERIFY(window.fp.prompter.messages.isEmpty() && one.fp.prompter.messages.isEmpty());
    }

    void rowsAddedDuringTheShowJoinTheCycle()
    {
        TestWindow window;
        addRows(window, 2);
        QCOMPARE(namesOverTicks(window, 1), QStringList{"a.jpg"});
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
        TestWindow window;
        addRows(window);
        namesOverTicks(window, 2);
        delete window.lvwMain->takeTopLevelItem(2);
        delete window.lvwMain->takeTopLevelItem(1);
        bool timerOffWhileReporting = false;
        window.fp.prompter.onMessage = [&](const auto&) { timerOffWhileReporting = !window.Timer1->isEnabled(); };
        window.Timer1_Timer();
        QCOMPARE(window.fp.prompter.said(), QStringList{NoImages});
        QVERIFY(timerOffWhileReporting);
        QCOMPARE(demoLook(window), QStringLiteral("idle"));
        QCOMPARE(window.lblPicName->text(), QStringLiteral("b.jpg")); // ended by a failure: the last slide stays
    }

    void aDeletedPictureEndsTheShowWithTheCommonReport()
    {
        const QString doomed = test::writePicture(m_dir.path(), "doomed.jpg", 50, 50);
        TestWindow window;
        addRows(window, 1);
        addRow(window, QStringLiteral("doomed.jpg"), QStringLiteral("50 X 50"));
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        // Deleted while the slide before it is on screen, after its decoding may have begun.
        QVERIFY(QFile::remove(doomed));
        bool timerOffWhileReporting = false;
        window.fp.prompter.onMessage = [&](const auto&) { timerOffWhileReporting = !window.Timer1->isEnabled(); };
        window.Timer1_Timer();
        QCOMPARE(window.fp.prompter.said(), QStringList{test::report(ErrorNumber::FileNotFound)});
        QVERIFY(timerOffWhileReporting);
        QCOMPARE(demoLook(window), QStringLiteral("idle"));
        QVERIFY(window.imgPreview->isHidden());
        QCOMPARE(window.lblPicName->text(), QStringLiteral("a.jpg"));
        QCOMPARE(window.strPicPath, doomed);
        QCOMPARE(window.strPicSize, QStringLiteral("50 X 50"));
    }

    void stopping_data()
    {
        QTest::addColumn<QString>("by");
        QTest::newRow("a click on the preview") << "preview";
        QTest::newRow("the Stop button") << "Stop";
        QTest::newRow("a click on a file, which it then shows") << "file";
    }
    void stopping()
    {
        QFETCH(QString, by);
        TestWindow window(m_dir.path());
        addRows(window);
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QCOMPARE(demoLook(window), QStringLiteral("running"));
        if (by == u"file") {
            QListWidgetItem* entry = window.FileList->findItems(QStringLiteral("c.jpg"), Qt::MatchExactly).value(0);
            QVERIFY(entry);
            QTest::mouseClick(window.FileList->viewport(), Qt::LeftButton, {},
                              window.FileList->visualItemRect(entry).center());
        } else {
            QTest::mouseClick(by == u"preview" ? static_cast<QWidget*>(window.imgPreview) : window.cmdDemoSM,
                              Qt::LeftButton);
        }
        QCOMPARE(demoLook(window), QStringLiteral("idle"));
        QVERIFY(window.fp.prompter.messages.isEmpty());
        QVERIFY(!window.imgPreview->isHidden());
        if (by == u"file") {
            QCOMPARE(window.lblPicName->text(), QStringLiteral("c.jpg"));
            QCOMPARE(window.stbVantelo->panelText(3), QStringLiteral("40 X 40"));
            return;
        }
        QCOMPARE(window.imgPreview->box(), DefaultPreviewBox);
        QCOMPARE(window.lblPicName->text(), QStringLiteral("Torvane Consulting"));
        // A new start begins again at the first row.
        QTest::mouseClick(window.cmdDemoSM, Qt::LeftButton);
        QCOMPARE(window.lblPicName->text(), QStringLiteral("a.jpg"));
    }

    void aClickOnThePreviewWhenIdleDoesNothing()
    {
        TestWindow window;
        addRows(window);
        window.FitPreview(QStringLiteral("60 X 80"));
        window.lblPicName->setText(QStringLiteral("a.jpg"));
        QTest::mouseClick(window.imgPreview, Qt::LeftButton);
        QCOMPARE(demoLook(window), QStringLiteral("idle"));
        QCOMPARE(window.imgPreview->box(), fitPreviewBox(u"60 X 80"));
        QCOMPARE(window.lblPicName->text(), QStringLiteral("a.jpg"));
        QVERIFY(window.fp.prompter.messages.isEmpty());
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
        TestWindow window;
        window.fp.random.draws.append(draws);
        addRows(window);
        QCOMPARE(namesOverTicks(window, int(shown.size())), shown);
        QCOMPARE(int(window.intDemoIndex), 1);
        QVERIFY(window.fp.random.reseeds >= shown.size()); // a fresh seed for every slide (the next drawn ahead)
        QVERIFY(window.fp.prompter.messages.isEmpty());
    }

    // Opening and closing it over the real window is checked end to end in e2e_demo_large.sh.
    void theLargeDemonstrationOpensOneShowOverTheWindow()
    {
        const QString list = m_dir.filePath(QStringLiteral("large.vtl"));
        WriteSlideList({SlideRow{m_dir.path() + u'/', QStringLiteral("a.jpg"), QStringLiteral("60 X 80"), {}}}, list);
        SaveSetting(SettingKey::File, list);
        TestWindow window;
        window.show();
        QTest::mouseClick(window.cmdDemoLG, Qt::LeftButton);
        QTest::mouseClick(window.cmdDemoLG, Qt::LeftButton); // while it is open: no second show
        QCOMPARE(shownFullShows().size(), 1);
        QPointer<FullShow> show = shownFullShows().constFirst();
        QCOMPARE(show->parentWidget(), nullptr);
        QCOMPARE(show->windowModality(), Qt::NonModal);
        QVERIFY(window.isVisible());
        QCOMPARE(demoLook(window), QStringLiteral("idle"));
        delete show;
    }
};

VANTELO_TEST_MAIN(TestDemo)
#include "tst_demo.moc"

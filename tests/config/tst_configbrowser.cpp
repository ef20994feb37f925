#include "ConfigTest.h"
#include "config/BrowserLists.h"
#include "platform/ImageBox.h"
#include "config/StatusBar.h"
#include "config/Vantelo.h"
#include "config/WindowTimer.h"
#include "settings/Settings.h"
#include "support/FakePlatform.h"
#include "support/TestMain.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace vantelo;
using vantelo::test::FakePlatform;

namespace {

// Clicks a file of the file list the way a user does, on its entry.
bool clickFile(Vantelo& window, const QString& name)
{
    const QList<QListWidgetItem*> found = window.FileList->findItems(name, Qt::MatchExactly);
    if (found.size() != 1)
        return false;
    window.FileList->scrollToItem(found.first());
    const QRect entry = window.FileList->visualItemRect(found.first());
    QTest::mouseClick(window.FileList->viewport(), Qt::LeftButton, {}, entry.center());
    return true;
}

QStringList fileListEntries(const Vantelo& window)
{
    QStringList entries;
    for (int row = 0; row < window.FileList->count(); ++row)
        entries << window.FileList->item(row)->text();
    return entries;
}

} // namespace

class TestConfigBrowser : public QObject
{
    Q_OBJECT
    QTemporaryDir m_folder;

private slots:
    void initTestCase()
    {
        const QString folder = m_folder.path();
        using vantelo::test::writePicture;
        QVERIFY(!writePicture(folder, "landscape.jpg", 800, 600, "JPEG").isEmpty());
        QVERIFY(!writePicture(folder, "IMG_0001.JPG", 40, 30, "JPEG").isEmpty());
        QVERIFY(!writePicture(folder, "mixed.Jpg", 30, 40, "JPEG").isEmpty());
        QVERIFY(!writePicture(folder, "drawing.bmp", 20, 10, "BMP").isEmpty());
        QVERIFY(!writePicture(folder, "anim.GIF", 16, 16, "GIF").isEmpty());
        QVERIFY(!vantelo::test::writeDamagedJpeg(folder, "damaged.jpg").isEmpty());
        QVERIFY(!vantelo::test::writeBytes(folder, "notes.txt", "not listed\n").isEmpty());
        QVERIFY(QDir(folder).mkpath(QStringLiteral("album.jpg"))); // a folder is no file, whatever its name
        QVERIFY(QDir(folder).mkpath(QStringLiteral("other")));
    }
    void init() { QFile::remove(settingsFilePath()); }

    void fileListMatchesThePatternIgnoringCase_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("*.jpg") << 0
                               << QStringList{"damaged.jpg", "IMG_0001.JPG", "landscape.jpg", "mixed.Jpg",
                                              "whole-damaged.jpg"};
        QTest::newRow("*.bmp") << 1 << QStringList{"drawing.bmp"};
        QTest::newRow("*.gif") << 2 << QStringList{"anim.GIF"};
    }
    void fileListMatchesThePatternIgnoringCase()
    {
        QFETCH(int, choice);
        QFETCH(QStringList, entries);
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        window.DirList->setPath(m_folder.path());
        window.cboFiletype->setCurrentIndex(choice);
        QCOMPARE(window.FileList->pattern(), window.cboFiletype->itemText(choice));
        QCOMPARE(fileListEntries(window), entries);
    }

    void clickingAPicturePreviewsAndDescribesIt()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        window.DirList->setPath(m_folder.path());
        QVERIFY(clickFile(window, QStringLiteral("landscape.jpg")));

        const QString path = m_folder.path() + QStringLiteral("/landscape.jpg");
        QVERIFY2(fp.prompter.messages.isEmpty(), qPrintable(fp.prompter.messages.value(0).text));
        QCOMPARE(window.strPicPath, path);
        QCOMPARE(window.strPicSize, QStringLiteral("600 X 800"));
        QCOMPARE(window.stbVantelo->panelText(2), path);
        QCOMPARE(window.stbVantelo->panelText(3), QStringLiteral("600 X 800"));
        QVERIFY(window.stbVantelo->panelText(4).isEmpty());
        QCOMPARE(window.lblPicName->text(), QStringLiteral("landscape.jpg"));
        QVERIFY(!window.imgPreview->isHidden());
        QCOMPARE(window.imgPreview->geometry(), QRect(178, 44, 177, 133));
        // Decoded at the size shown: the real picture, red on the left and blue on the right.
        const QImage shown = window.imgPreview->picture();
        QCOMPARE(shown.size(), QSize(177, 133));
        QVERIFY(qRed(shown.pixel(20, 66)) > 200 && qBlue(shown.pixel(20, 66)) < 60);
        QVERIFY(qBlue(shown.pixel(156, 66)) > 200 && qRed(shown.pixel(156, 66)) < 60);
    }

    void movingThroughTheFilesWithTheKeysPreviewsToo()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        window.DirList->setPath(m_folder.path());
        QVERIFY(clickFile(window, QStringLiteral("landscape.jpg")));
        QTest::keyClick(window.FileList, Qt::Key_Down);
        QCOMPARE(window.FileList->fileName(), QStringLiteral("mixed.Jpg"));
        QCOMPARE(window.stbVantelo->panelText(2), m_folder.path() + QStringLiteral("/mixed.Jpg"));
        QCOMPARE(window.stbVantelo->panelText(3), QStringLiteral("40 X 30"));
    }

    void aDamagedPictureIsReportedAndThePreviewStays()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        window.DirList->setPath(m_folder.path());
        QVERIFY(clickFile(window, QStringLiteral("landscape.jpg")));
        const QRectF box = window.imgPreview->box();
        const QImage picture = window.imgPreview->picture();

        QVERIFY(clickFile(window, QStringLiteral("damaged.jpg")));
        QCOMPARE(fp.prompter.messages.size(), 1);
        const vantelo::test::ShownMessage& report = fp.prompter.messages.first();
        QCOMPARE(report.icon, MessageIcon::None);
        QCOMPARE(report.title, QStringLiteral("Personal Vantelo Creator"));
        QCOMPARE(report.text, QStringLiteral("Error: 481 has occurred in Project1 error was Invalid picture"));
        // The steps before the failure stay done; the rest keep the previous picture.
        const QString path = m_folder.path() + QStringLiteral("/damaged.jpg");
        QCOMPARE(window.strPicPath, path);
        QCOMPARE(window.stbVantelo->panelText(2), path);
        QCOMPARE(window.strPicSize, QStringLiteral("600 X 800"));
        QCOMPARE(window.stbVantelo->panelText(3), QStringLiteral("600 X 800"));
        QCOMPARE(window.imgPreview->box(), box);
        QCOMPARE(window.imgPreview->picture(), picture);
        QVERIFY(!window.imgPreview->isHidden());
        QCOMPARE(window.lblPicName->text(), QStringLiteral("landscape.jpg"));
    }

    void clickingAFileEndsTheSmallDemonstration()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        window.DirList->setPath(m_folder.path());
        // The running look of the small demonstration.
        window.Timer1->setInterval(60000);
        window.Timer1->setEnabled(true);
        window.cmdDemoSM->setText(QStringLiteral("Stop"));
        window.cmdDemoSM->setToolTip(QStringLiteral("Ends the Slide Show Demonstration"));
        for (QWidget* control : std::initializer_list<QWidget*>{window.cmdDemoLG, window.optShowStyle[0],
                                                                window.optShowStyle[1], window.cmdTimer})
            control->setEnabled(false);

        QVERIFY(clickFile(window, QStringLiteral("IMG_0001.JPG")));
        QVERIFY(!window.Timer1->isEnabled());
        QCOMPARE(window.cmdDemoSM->text(), QStringLiteral("Demo SM"));
        QCOMPARE(window.cmdDemoSM->toolTip(), QStringLiteral("Starts the Small Slide Show Demonstration"));
        QVERIFY(window.cmdDemoLG->isEnabled());
        QVERIFY(window.optShowStyle[0]->isEnabled());
        QVERIFY(window.optShowStyle[1]->isEnabled());
        QVERIFY(window.cmdTimer->isEnabled());
        // ... and then shows the clicked file.
        QCOMPARE(window.lblPicName->text(), QStringLiteral("IMG_0001.JPG"));
        QCOMPARE(window.strPicSize, QStringLiteral("30 X 40"));
        QVERIFY(fp.prompter.messages.isEmpty());
    }

    void openingAnotherFolderEmptiesTheListFileLabel()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        window.DirList->setPath(m_folder.path());
        window.lblFileName->setText(QStringLiteral("/home/ann/holiday.vtl"));
        const QString other = QDir(m_folder.path()).filePath(QStringLiteral("other"));
        QTreeWidgetItem* entry =
            window.DirList->findItems(QStringLiteral("other"), Qt::MatchExactly | Qt::MatchRecursive).value(0);
        QVERIFY(entry);
        window.DirList->scrollToItem(entry);
        // A double-click as the system delivers it: a click, then the second press as a double-click.
        const QPoint at = window.DirList->visualItemRect(entry).center();
        QTest::mouseClick(window.DirList->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(window.DirList->path(), m_folder.path()); // one click only selects
        QTest::mouseDClick(window.DirList->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(window.DirList->path(), other);
        QCOMPARE(window.FileList->path(), other);
        QCOMPARE(window.FileList->count(), 0);
        QVERIFY(window.lblFileName->text().isEmpty());
    }

    void aDriveThatIsGoneIsReportedAndTheSecondIsChosen()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        window.DirList->setPath(m_folder.path());
        const QString home = driveRootOf(m_folder.path());
        window.DriveList->setDrives({Volume{QStringLiteral("/"), {}, "ext4", true}, Volume{home, {}, "ext4", true},
                                     Volume{QStringLiteral("/media/vanished-stick"), {}, "vfat", true}});
        window.DriveList->setCurrentIndex(2);

        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(fp.prompter.messages.first().icon, MessageIcon::Exclamation);
        QCOMPARE(fp.prompter.messages.first().title, QStringLiteral("Personal Vantelo Creator"));
        QCOMPARE(fp.prompter.messages.first().text, QStringLiteral("Drive Not Ready!"));
        QCOMPARE(window.DriveList->currentIndex(), 1);
        // The second drive opens at the last folder opened on it.
        QCOMPARE(window.DirList->path(), m_folder.path());
    }
};

VANTELO_TEST_MAIN(TestConfigBrowser)
#include "tst_configbrowser.moc"

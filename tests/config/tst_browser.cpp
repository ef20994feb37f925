#include "ConfigTest.h"
#include "config/PreviewFitting.h"
#include "config/StatusBar.h"
#include "config/WindowTimer.h"
#include "platform/ImageBox.h"
#include "support/TestMain.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace vantelo;
using test::TestWindow;

namespace {

// Clicks a file of the file list the way a user does, on its entry.
bool clickFile(Vantelo& window, const QString& name)
{
    const QList<QListWidgetItem*> found = window.FileList->findItems(name, Qt::MatchExactly);
    if (found.size() != 1)
        return false;
    window.FileList->scrollToItem(found.first());
    QTest::mouseClick(window.FileList->viewport(), Qt::LeftButton, {},
                      window.FileList->visualItemRect(found.first()).center());
    return true;
}

bool redThenBlue(const QImage& shown, int y)
{
    const QRgb left = shown.pixel(10, y), right = shown.pixel(shown.width() - 10, y);
    return qRed(left) > 200 && qBlue(left) < 60 && qBlue(right) > 200 && qRed(right) < 60;
}

} // namespace

class TestConfigBrowser : public QObject
{
    Q_OBJECT
    QTemporaryDir m_folder;

    QString folder(const QString& name) // a new folder under the test's folder
    {
        QDir(m_folder.path()).mkpath(name);
        return QDir(m_folder.path()).filePath(name);
    }

private slots:
    void initTestCase()
    {
        const QString folder = m_folder.path();
        QVERIFY(!test::writePicture(folder, "landscape.jpg", 800, 600).isEmpty());
        QVERIFY(!test::writePicture(folder, "IMG_0001.JPG", 40, 30).isEmpty());
        QVERIFY(!test::writePicture(folder, "mixed.Jpg", 30, 40).isEmpty());
        QVERIFY(!test::writePicture(folder, "drawing.bmp", 20, 10, "BMP").isEmpty());
        QVERIFY(!test::writePicture(folder, "anim.GIF", 16, 16, "GIF").isEmpty());
        QVERIFY(!test::writeDamagedJpeg(folder, "damaged.jpg").isEmpty());
        QVERIFY(!test::writeBytes(folder, "notes.txt", "not listed\n").isEmpty());
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
        TestWindow window(m_folder.path());
        window.cboFiletype->setCurrentIndex(choice);
        QCOMPARE(window.FileList->pattern(), window.cboFiletype->itemText(choice));
        QStringList entries;
        for (int row = 0; row < window.FileList->count(); ++row)
            entries << window.FileList->item(row)->text();
        QTEST(entries, "entries");
    }

    void clickingOrMovingToAPicturePreviewsAndDescribesIt()
    {
        TestWindow window(m_folder.path());
        QVERIFY(clickFile(window, QStringLiteral("landscape.jpg")));
        const QString path = m_folder.filePath(QStringLiteral("landscape.jpg"));
        QCOMPARE(window.fp.prompter.said(), QStringList());
        QCOMPARE(window.strPicPath, path);
        QCOMPARE(window.strPicSize, QStringLiteral("600 X 800"));
        QCOMPARE(window.stbVantelo->panelText(2), path);
        QCOMPARE(window.stbVantelo->panelText(3), QStringLiteral("600 X 800"));
        QVERIFY(window.stbVantelo->panelText(4).isEmpty());
        QCOMPARE(window.lblPicName->text(), QStringLiteral("landscape.jpg"));
        QVERIFY(!window.imgPreview->isHidden());
        QCOMPARE(window.imgPreview->geometry(), QRect(178, 44, 177, 133));
        // Decoded at the size shown: the real picture, red on the left and blue on the right.
        QCOMPARE(window.imgPreview->picture().size(), QSize(177, 133));
        QVERIFY(redThenBlue(window.imgPreview->picture(), 66));

        QTest::keyClick(window.FileList, Qt::Key_Down);
        QCOMPARE(window.stbVantelo->panelText(2), m_folder.filePath(QStringLiteral("mixed.Jpg")));
        QCOMPARE(window.stbVantelo->panelText(3), QStringLiteral("40 X 30"));
    }

    void aDamagedPictureIsReportedAndThePreviewStays()
    {
        TestWindow window(m_folder.path());
        QVERIFY(clickFile(window, QStringLiteral("landscape.jpg")));
        const QRectF box = window.imgPreview->box();
        const QImage picture = window.imgPreview->picture();
        QVERIFY(clickFile(window, QStringLiteral("damaged.jpg")));
        QCOMPARE(window.fp.prompter.said(), QStringList{test::report(ErrorNumber::InvalidPicture)});
        // The steps before the failure stay done; the rest keep the previous picture.
        const QString path = m_folder.filePath(QStringLiteral("damaged.jpg"));
        QCOMPARE(window.strPicPath, path);
        QCOMPARE(window.stbVantelo->panelText(2), path);
        QCOMPARE(window.strPicSize, QStringLiteral("600 X 800"));
        QCOMPARE(window.stbVantelo->panelText(3), QStringLiteral("600 X 800"));
        QCOMPARE(window.imgPreview->box(), box);
        QCOMPARE(window.imgPreview->picture(), picture);
        QVERIFY(!window.imgPreview->isHidden());
        QCOMPARE(window.lblPicName->text(), QStringLiteral("landscape.jpg"));
    }

    void openingAnotherFolderEmptiesTheListFileLabel()
    {
        TestWindow window(m_folder.path());
        window.lblFileName->setText(QStringLiteral("/home/ann/holiday.vtl"));
        QTreeWidgetItem* entry =
            window.DirList->findItems(QStringLiteral("other"), Qt::MatchExactly | Qt::MatchRecursive).value(0);
        QVERIFY(entry);
        window.DirList->scrollToItem(entry);
        // A double-click as the system delivers it: a click, then the second press as a double-click.
        const QPoint at = window.DirList->visualItemRect(entry).center();
        QTest::mouseClick(window.DirList->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(window.DirList->path(), m_folder.path()); // one click only selects
        QTest::mouseDClick(window.DirList->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(window.DirList->path(), m_folder.filePath(QStringLiteral("other")));
        QCOMPARE(window.FileList->path(), m_folder.filePath(QStringLiteral("other")));
        QCOMPARE(window.FileList->count(), 0);
        QVERIFY(window.lblFileName->text().isEmpty());
    }

    void aDriveThatIsGoneIsReportedAndTheSecondIsChosen()
    {
        TestWindow window(m_folder.path());
        const QString home = driveRootOf(m_folder.path());
        window.DriveList->setDrives({Volume{QStringLiteral("/"), {}, "ext4", true}, Volume{home, {}, "ext4", true},
                                     Volume{QStringLiteral("/media/vanished-stick"), {}, "vfat", true}});
        window.DriveList->setCurrentIndex(2);
        QCOMPARE(window.fp.prompter.said(), QStringList{test::warning(QStringLiteral("Drive Not Ready!"))});
        QCOMPARE(window.DriveList->currentIndex(), 1);
        // The second drive opens at the last folder opened on it.
        QCOMPARE(window.DirList->path(), m_folder.path());
    }

    // ---- the rules behind the lists ----

    void drivesAreTheReadyLocalVolumesRootFirst()
    {
        const QString usb = folder(QStringLiteral("media/usb"));
        const QString data = folder(QStringLiteral("data"));
        const QString boundFile = m_folder.filePath(QStringLiteral("notes.txt"));
        const QList<Volume> mounted{
            {usb, QStringLiteral("STICK"), "vfat", true},
            {QStringLiteral("/proc"), {}, "proc", true},
            {folder(QStringLiteral("share")), {}, "nfs4", true},
            {QStringLiteral("/"), {}, "ext4", true},
            {folder(QStringLiteral("cdrom")), {}, "iso9660", false},
            {folder(QStringLiteral("ram")), {}, "tmpfs", true},
            {boundFile, {}, "ext4", true},
            {data, {}, "btrfs", true},
            {usb, QStringLiteral("STICK"), "vfat", true},
        };
        QStringList roots;
        for (const Volume& drive : localDrives(mounted))
            roots << drive.rootPath;
        QStringList rest{usb, data};
        rest.sort();
        QCOMPARE(roots, QStringList{QStringLiteral("/")} + rest);
    }

    void aFolderBelongsToTheDeepestListedDrive()
    {
        const QStringList roots{"/", "/media/usb", "/media/usb2"};
        QCOMPARE(listedDriveOf(QStringLiteral("/"), roots), QStringLiteral("/"));
        QCOMPARE(listedDriveOf(QStringLiteral("/home/ann"), roots), QStringLiteral("/"));
        QCOMPARE(listedDriveOf(QStringLiteral("/media/usb"), roots), QStringLiteral("/media/usb"));
        QCOMPARE(listedDriveOf(QStringLiteral("/media/usb2/pics"), roots), QStringLiteral("/media/usb2"));
        QCOMPARE(listedDriveOf(QStringLiteral("/media/usbx"), roots), QStringLiteral("/")); // only starts alike
        QCOMPARE(listedDriveOf(QStringLiteral("/home/ann"), {QStringLiteral("/media/usb")}), QString());
    }

    void aDriveOpensAtItsLastFolderWhileThatExists()
    {
        const QString root = m_folder.path();
        const QString pics = folder(QStringLiteral("pics"));
        QCOMPARE(currentFolderOnDrive(root, {}), root);
        QCOMPARE(currentFolderOnDrive(root, {{root, pics}}), pics);
        QVERIFY(QDir(pics).removeRecursively());
        QCOMPARE(currentFolderOnDrive(root, {{root, pics}}), root);
    }

    void theFolderListShowsTheChainAndTheSubfolders()
    {
        const QString album = folder(QStringLiteral("chain/album"));
        folder(QStringLiteral("chain/album/Beta"));
        folder(QStringLiteral("chain/album/alpha"));
        folder(QStringLiteral("chain/album/.hidden"));
        QVERIFY(!test::writeBytes(album, QStringLiteral("photo.jpg"), "x").isEmpty());
        const QStringList chain = folderChain(album);
        QCOMPARE(chain.first(), QStringLiteral("/"));
        QCOMPARE(chain.last(), album);
        QCOMPARE(chain.at(chain.size() - 2), m_folder.filePath(QStringLiteral("chain")));
        QCOMPARE(folderChain(QStringLiteral("/")), QStringList{QStringLiteral("/")});
        QCOMPARE(subfolders(album), (QStringList{QStringLiteral("alpha"), QStringLiteral("Beta")}));
    }

    void picturesDecodeAtTheirShownSize_data()
    {
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QSize>("decodeSize");
        QTest::newRow("portrait") << "800 X 600" << QSize(100, 133);
        QTest::newRow("panorama is bounded") << "1 X 32767" << QSize(MaxPreviewDecodeSide, 133);
        QTest::newRow("needle never gets a zero side") << "32767 X 1" << QSize(1, 133);
        QTest::newRow("unfittable text decodes small") << "100 X 40000" << QSize(133, 133);
    }
    void picturesDecodeAtTheirShownSize()
    {
        QFETCH(QString, sizeText);
        QTEST(previewDecodeSize(sizeText), "decodeSize");
    }

    void aWindowTimerWithoutIntervalNeverTicks()
    {
        WindowTimer timer;
        QSignalSpy ticks(&timer, &WindowTimer::timeout);
        timer.setEnabled(true);
        QVERIFY(!timer.isActive());
        timer.setInterval(5);
        QTRY_VERIFY(ticks.count() >= 2);
        timer.setInterval(0);
        QVERIFY(timer.isEnabled() && !timer.isActive());
        timer.setInterval(5);
        timer.setEnabled(false);
        QVERIFY(!timer.isActive());
        QCOMPARE(timer.interval(), 5);
    }
};

VANTELO_TEST_MAIN(TestConfigBrowser)
#include "tst_browser.moc"

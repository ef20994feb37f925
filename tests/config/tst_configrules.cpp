#include "common/AppError.h"
#include "config/PictureBrowsing.h"
#include "config/PreviewFitting.h"
#include "config/WindowTimer.h"
#include "support/TestMain.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace vantelo;

class TestConfigRules : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString folder(const QString& name)
    {
        QDir(m_dir.path()).mkpath(name);
        return QDir(m_dir.path()).filePath(name);
    }

private slots:
    void drivesAreTheReadyLocalVolumesRootFirst()
    {
        const QString usb = folder(QStringLiteral("media/usb"));
        const QString data = folder(QStringLiteral("data"));
        const QString share = folder(QStringLiteral("share"));
        const QString cdrom = folder(QStringLiteral("cdrom"));
        const QString ram = folder(QStringLiteral("ram"));
        const QString boundFile = m_dir.filePath(QStringLiteral("hosts"));
        QFile(boundFile).open(QIODevice::WriteOnly);

        const QList<Volume> mounted{
            {usb, QStringLiteral("STICK"), "vfat", true},
            {QStringLiteral("/proc"), {}, "proc", true},
            {share, {}, "nfs4", true},
            {QStringLiteral("/"), {}, "ext4", true},
            {cdrom, {}, "iso9660", false},
            {ram, {}, "tmpfs", true},
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

    void aFolderBelongsToTheDeepestListedDrive_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("drive");
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("under root") << "/home/ann"
                                    << "/";
        QTest::newRow("a drive's own root") << "/media/usb"
                                            << "/media/usb";
        QTest::newRow("inside the deeper drive") << "/media/usb2/pics"
                                                 << "/media/usb2";
        QTest::newRow("a name that only starts like a drive") << "/media/usbx"
                                                              << "/";
    }
    void aFolderBelongsToTheDeepestListedDrive()
    {
        QFETCH(QString, folder);
        QFETCH(QString, drive);
        const QStringList roots{"/", "/media/usb", "/media/usb2"};
        QCOMPARE(listedDriveOf(folder, roots), drive);
    }

    void aFolderOnNoListedDriveHasNone()
    {
        QCOMPARE(listedDriveOf(QStringLiteral("/home/ann"), {QStringLiteral("/media/usb")}), QString());
    }

    void aDriveOpensAtItsLastFolderWhileThatExists()
    {
        const QString root = m_dir.path();
        const QString pics = folder(QStringLiteral("pics"));
        QCOMPARE(currentFolderOnDrive(root, {}), root);
        QCOMPARE(currentFolderOnDrive(root, {{root, pics}}), pics);
        QVERIFY(QDir(pics).removeRecursively());
        QCOMPARE(currentFolderOnDrive(root, {{root, pics}}), root);
    }

    void aVanishedDriveIsDeviceUnavailable()
    {
        try {
            ensureDriveReady(m_dir.filePath(QStringLiteral("no-such-volume")));
            QFAIL("a missing volume passed as ready");
        } catch (const AppError& e) {
            QCOMPARE(e.number(), int(ErrorNumber::DeviceUnavailable));
        }
        ensureDriveReady(driveRootOf(m_dir.path()));
    }

    void theFolderListShowsTheChainAndTheSubfolders()
    {
        const QString album = folder(QStringLiteral("chain/album"));
        folder(QStringLiteral("chain/album/Beta"));
        folder(QStringLiteral("chain/album/alpha"));
        folder(QStringLiteral("chain/album/.hidden"));
        QFile(QDir(album).filePath(QStringLiteral("photo.jpg"))).open(QIODevice::WriteOnly);

        const QStringList chain = folderChain(album);
        QCOMPARE(chain.first(), QStringLiteral("/"));
        QCOMPARE(chain.last(), album);
        QCOMPARE(chain.at(chain.size() - 2), QDir(m_dir.path()).filePath(QStringLiteral("chain")));
        QCOMPARE(folderChain(QStringLiteral("/")), QStringList{QStringLiteral("/")});
        QCOMPARE(subfolders(album), (QStringList{QStringLiteral("alpha"), QStringLiteral("Beta")}));
    }

    void severalPatternsMayBeJoined()
    {
        const QString pics = folder(QStringLiteral("patterns"));
        for (const char* name : {"a.JPG", "b.gif", "c.bmp"})
            QFile(QDir(pics).filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
        QCOMPARE(matchingFiles(pics, QStringLiteral("*.jpg;*.GIF")), (QStringList{"a.JPG", "b.gif"}));
        QCOMPARE(matchingFiles(pics, QString()), QStringList());
    }

    void aRootFolderGivesTwoSeparators()
    {
        QCOMPARE(joinFolderAndFile(QStringLiteral("/"), QStringLiteral("a.jpg")), QStringLiteral("//a.jpg"));
        QCOMPARE(joinFolderAndFile(QStringLiteral("/pics"), QStringLiteral("a.jpg")), QStringLiteral("/pics/a.jpg"));
    }

    void picturesDecodeAtTheirShownSize_data()
    {
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QSize>("decodeSize");
        QTest::newRow("landscape") << "600 X 800" << QSize(177, 133);
        QTest::newRow("portrait") << "800 X 600" << QSize(100, 133);
        QTest::newRow("panorama is bounded") << "1 X 32767" << QSize(MaxPreviewDecodeSide, 133);
        QTest::newRow("needle never gets a zero side") << "32767 X 1" << QSize(1, 133);
        QTest::newRow("unfittable text decodes small") << "100 X 40000" << QSize(133, 133);
    }
    void picturesDecodeAtTheirShownSize()
    {
        QFETCH(QString, sizeText);
        QFETCH(QSize, decodeSize);
        QCOMPARE(previewDecodeSize(sizeText), decodeSize);
    }

    void aWindowTimerWithoutIntervalNeverTicks()
    {
        WindowTimer timer;
        QSignalSpy ticks(&timer, &WindowTimer::timeout);
        timer.setEnabled(true);
        QVERIFY(timer.isEnabled());
        QVERIFY(!timer.isActive());
        timer.setInterval(5);
        QVERIFY(timer.isActive());
        QTRY_VERIFY(ticks.count() >= 2);
        timer.setInterval(0);
        QVERIFY(timer.isEnabled());
        QVERIFY(!timer.isActive());
        timer.setInterval(5);
        timer.setEnabled(false);
        QVERIFY(!timer.isActive());
        QCOMPARE(timer.interval(), 5);
    }
};

VANTELO_TEST_MAIN(TestConfigRules)
#include "tst_configrules.moc"

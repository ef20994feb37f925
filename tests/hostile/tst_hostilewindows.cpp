#include "config/Vantelo.h"
#include "show/FullShow.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace vantelo;

// Both windows opened on a broken settings file or slide list file: each opens, on its defaults or
// with one report, and nothing escapes. What the store and the reader make of such files is proved
// with the settings and the slide list file.
class TestHostileWindows : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void bothWindowsOpen_data()
    {
        QTest::addColumn<QByteArray>("settings"); // "%1" stands for the list file, "%2" for a picture's folder
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("creator"); // the delay box, the order options, anything said
        QTest::addColumn<QString>("show");    // anything said, and whether the slides run
        QByteArray garbage;
        for (int i = 0; i < 64 * 1024; ++i)
            garbage.append(char((i * 7919 + i / 251) % 256 == '=' ? 0 : (i * 7919 + i / 251) % 256));
        const QByteArray row = "1 | %2/ | red.bmp | 30 X 40 | \r\n", list = "[Settings]\nFile=%1\n";
        const QString report = QStringLiteral("Personal Vantelo: Error: %1 has occurred in Project1 error was %2 ");
        // clang-format off
        QTest::newRow("binary garbage") << garbage << QByteArray() << "5 10" << "idle";
        QTest::newRow("a megabyte of nines") << "[Settings]\nDelay=" + QByteArray(1 << 20, '9') + "\nFile=/" + QByteArray(1 << 20, 'a') << QByteArray() << "5 10" << report.arg(6).arg("Overflow") + "idle";
        QTest::newRow("text in every key") << QByteArray("[Settings]\nScreenWidth=wide\nDelay=five\nBackColor=red\nShowType=random\n") << QByteArray() << "5 00" << report.arg(13).arg("Type mismatch") + "idle";
        QTest::newRow("hand-written typed values") << QByteArray("[Settings]\nDelay=@Rect(1 2 3 4)\nShowType=\"Random\"\nBackColor=255;x\n") << QByteArray() << "5 01" << report.arg(13).arg("Type mismatch") + "idle";
        QTest::newRow("a work area of negative height") << list + "ScreenHeight=-1\n" << " 1 \r\n" + row << "5 10" << report.arg(380).arg("Invalid property value") + "running";
        QTest::newRow("a list of garbage") << list << garbage << "5 10" << "! Personal Vantelo: No Images in the list to be displayed running";
        QTest::newRow("a row of 40000 characters") << list << " 1 \r\n1 | " + QByteArray(40000, 'a') + " | b | 1 X 1 | \r\n" << "5 10" << report.arg(6).arg("Overflow") + "idle";
        QTest::newRow("a count of 32767, one row") << list << " 32767 \r\n" + row << "5 10" << report.arg(62).arg("Input past end of file") + "idle";
        // clang-format on
    }
    void bothWindowsOpen()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, list);
        const QString listFile =
            test::writeBytes(m_dir.path(), QStringLiteral("list.vtl"), list.replace("%2", m_dir.path().toUtf8()));
        QImage(40, 30, QImage::Format_RGB32).save(m_dir.filePath(QStringLiteral("red.bmp")));
        QDir().mkpath(QFileInfo(settingsFilePath()).path());
        test::writeBytes(QFileInfo(settingsFilePath()).path(), QFileInfo(settingsFilePath()).fileName(),
                         settings.replace("%1", listFile.toUtf8()));
        test::FakePlatform fp;
        {
            Vantelo creator(fp.platform);
            creator.Form_Load();
            QTEST(QStringLiteral("%1 %2%3%4")
                      .arg(creator.findChild<QLineEdit*>(QStringLiteral("txtTimer"))->text())
                      .arg(creator.findChild<QRadioButton*>(QStringLiteral("optShowStyle(0)"))->isChecked())
                      .arg(creator.findChild<QRadioButton*>(QStringLiteral("optShowStyle(1)"))->isChecked())
                      .arg(fp.prompter.said().join(u' ')),
                  "creator");
        }
        test::writeBytes(QFileInfo(settingsFilePath()).path(), QFileInfo(settingsFilePath()).fileName(), settings);
        std::unique_ptr<FullShow> show(new FullShow(fp.platform));
        show->Form_Load();
        const bool running = show->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive();
        QTEST((fp.prompter.said() << (running ? "running" : "idle")).join(u' '), "show");
    }
};

VANTELO_TEST_MAIN(TestHostileWindows)
#include "tst_hostilewindows.moc"

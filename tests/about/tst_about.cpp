#include "about/AboutIcons.h"
#include "about/SysInfo.h"
#include "about/frmAbout.h"
#include "platform/IniRegistry.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

using namespace vantelo;
using vantelo::test::FakePlatform;

namespace {

const QString Title = QStringLiteral("Personal Vantelo Creator\r\nBy\r\nTorvane Consulting");
const QString Description = QStringLiteral("This Program is designed to be a tool for creating\r\n"
                                           "Slide Shows from personal pictures located on\r\na local drive");
const QString Unavailable = QStringLiteral(": System Information Is Unavailable At This Time");

QString labelText(const QWidget& box, const char* name)
{
    const auto* label = box.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

test::FakeRegistry::Value text(const QByteArray& bytes)
{
    return {Registry::TypeString, bytes};
}

QString readValue(Registry& registry, const QString& keyName, const QString& valueName)
{
    QString value;
    return GetKeyValue(registry, Registry::LocalMachine, keyName, valueName, value) ? value : QStringLiteral("<none>");
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void getKeyValue_data()
    {
        QTest::addColumn<uint>("type");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("expected");
        const QByteArray path("C:\\Tools\\info.exe");
        QTest::newRow("string with its terminating zero") << 1u << path + '\0' << true << QString::fromLatin1(path);
        QTest::newRow("string without a terminating zero") << 1u << path << true << QString::fromLatin1(path);
        QTest::newRow("only the last of two zeros goes")
            << 1u << QByteArray("ab\0\0", 4) << true << QString(QStringLiteral("ab") + QChar(0));
        QTest::newRow("string filling the whole buffer") << 1u << QByteArray(1024, 'x') << true << QString(1024, u'x');
        QTest::newRow("string one byte longer than the buffer") << 1u << QByteArray(1025, 'x') << false << QString();
        QTest::newRow("double word") << 4u << QByteArray("\x2A\x00\x00\x00", 4) << true << QStringLiteral("42");
        QTest::newRow("double word, every bit set")
            << 4u << QByteArray("\xFF\xFF\xFF\xFF", 4) << true << QStringLiteral("4294967295");
        QTest::newRow("other type leaves the text as passed")
            << 3u << QByteArray("\x01\x02", 2) << true << QStringLiteral("as passed");
    }
    void getKeyValue()
    {
        QFETCH(uint, type);
        QFETCH(QByteArray, bytes);
        FakePlatform fp;
        fp.registry.keys[QStringLiteral("SOFTWARE\\Test")][QStringLiteral("Value")] = {type, bytes};
        QString value = QStringLiteral("as passed");
        QTEST(GetKeyValue(fp.registry, Registry::LocalMachine, QStringLiteral("SOFTWARE\\Test"),
                          QStringLiteral("Value"), value),
              "found");
        QTEST(value, "expected");
        QCOMPARE(fp.registry.accessMasks, QList<std::uint32_t>{0x2003Fu});
        QCOMPARE(fp.registry.openHandles, 0);
    }

    void getKeyValueFailsWithAnEmptyText()
    {
        FakePlatform fp;
        fp.registry.keys[QStringLiteral("SOFTWARE\\Test")][QStringLiteral("Other")] = text("x");
        fp.registry.keys[QStringLiteral("SOFTWARE\\Locked")][QStringLiteral("Value")] = text("x");
        fp.registry.deniedKeys << QStringLiteral("SOFTWARE\\Locked");
        // A key that does not exist, one that may not be opened with the access asked, a missing value.
        for (const char* key : {"SOFTWARE\\Nowhere", "SOFTWARE\\Locked", "SOFTWARE\\Test"}) {
            QString value = QStringLiteral("left over");
            QVERIFY(!GetKeyValue(fp.registry, Registry::LocalMachine, QString::fromLatin1(key), QStringLiteral("Value"),
                                 value));
            QCOMPARE(value, QString());
        }
        QCOMPARE(fp.registry.queriedKeys, QStringList{QStringLiteral("SOFTWARE\\Test")});
        QCOMPARE(fp.registry.openHandles, 0);
    }

    void startSysInfo_data()
    {
        QTest::addColumn<QString>("first");  // the first key's "PATH": "-" no key, "+" key without it, "0" empty
        QTest::addColumn<QString>("folder"); // the second key's "MSINFO", or no key
        QTest::addColumn<bool>("toolThere"); // MSINFO32.EXE exists in that folder
        QTest::addColumn<QStringList>("attempts");
        QTest::addColumn<bool>("unavailable");
        const QString first = QStringLiteral("/opt/info/sysinfo");
        const QString second = QStringLiteral("/opt/tools") + QDir::separator() + QStringLiteral("MSINFO32.EXE");
        // clang-format off
        QTest::newRow("first entry started unchanged and unchecked") << first << "" << false << QStringList{first} << false;
        QTest::newRow("first entry naming a missing program") << "/opt/gone" << "" << false << QStringList{"/opt/gone"} << true;
        QTest::newRow("first entry wins over the second") << first << "/opt/tools" << true << QStringList{first} << false;
        QTest::newRow("only the second, tool in its folder") << "-" << "/opt/tools" << true << QStringList{second} << false;
        QTest::newRow("only the second, no tool in its folder") << "-" << "/opt/tools" << false << QStringList{} << true;
        QTest::newRow("first key without its value") << "+" << "/opt/tools" << true << QStringList{second} << false;
        QTest::newRow("first value empty: no second try") << "0" << "/opt/tools" << true << QStringList{} << true;
        QTest::newRow("neither entry") << "-" << "" << false << QStringList{} << true;
        // clang-format on
    }
    void startSysInfo()
    {
        QFETCH(QString, first);
        QFETCH(QString, folder);
        QFETCH(bool, toolThere);
        FakePlatform fp;
        if (first != u"-")
            fp.registry.keys[SysInfoPathKey][first == u"+" ? QStringLiteral("Other") : SysInfoPathValue] =
                text(first == u"0" ? QByteArray() : first.toUtf8() + '\0');
        if (!folder.isEmpty())
            fp.registry.keys[SysInfoFolderKey][SysInfoFolderValue] = text(folder.toUtf8() + '\0');
        const QString tool = folder + QDir::separator() + SysInfoProgramName;
        if (toolThere)
            fp.launcher.existingFiles << tool;
        fp.launcher.startable << tool << QStringLiteral("/opt/info/sysinfo");

        StartSysInfo(fp.platform, nullptr);
        QTEST(fp.launcher.startAttempts, "attempts");
        // Only the second entry's tool is looked for before it is started.
        QCOMPARE(fp.launcher.existenceChecks,
                 first.size() == 1 && first != u"0" && !folder.isEmpty() ? QStringList{tool} : QStringList());
        QFETCH(bool, unavailable);
        QCOMPARE(fp.prompter.said(), unavailable ? QStringList{Unavailable} : QStringList());
        QCOMPARE(fp.registry.openHandles, 0);
    }

    // Its texts are checked as a user opens it, below; its layout is the design's numbers restated.
    void theBoxHasItsButtonsAndIcons()
    {
        FakePlatform fp;
        frmAbout box(fp.platform, nullptr);
        box.Form_Load();
        QCOMPARE(labelText(box, "lblDisclaimer"), QStringLiteral("Warning: ..."));
        const auto* cmdOK = box.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QVERIFY(cmdOK && cmdOK->isDefault());
        QCOMPARE(cmdOK->text(), QStringLiteral("OK"));
        QCOMPARE(box.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->text(), QStringLiteral("&System Info..."));
        QCOMPARE(box.size(), QSize(382, 237));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        // Two icons of our own drawing.
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("picIcon(0)"))->pixmap().toImage(), drawPictureIcon());
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("picIcon(1)"))->pixmap().toImage(), drawSlidesIcon());
        QCOMPARE(drawPictureIcon().size(), QSize(32, 32));
        QVERIFY(drawPictureIcon() != drawSlidesIcon());
    }

    void closing_data()
    {
        QTest::addColumn<int>("key"); // 0: a click on OK
        QTest::newRow("OK clicked") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    void closing()
    {
        QFETCH(int, key);
        FakePlatform fp;
        frmAbout box(fp.platform, nullptr);
        box.Form_Load();
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        if (key == 0)
            QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        else
            QTest::keyClick(&box, Qt::Key(key));
        QVERIFY(!box.isVisible());
        QVERIFY(fp.launcher.startAttempts.isEmpty());
    }

    void sysInfoButtonKeepsTheBoxOpen()
    {
        FakePlatform fp;
        fp.registry.keys[SysInfoPathKey][SysInfoPathValue] = text("/opt/info/sysinfo");
        fp.launcher.startable << QStringLiteral("/opt/info/sysinfo");
        frmAbout box(fp.platform, nullptr);
        box.Form_Load();
        box.show();
        QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
        QCOMPARE(fp.launcher.started, QStringList{QStringLiteral("/opt/info/sysinfo")});
        fp.registry.keys.clear();
        QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
        QCOMPARE(fp.prompter.said(), QStringList{Unavailable});
        QVERIFY(box.isVisible());
    }

    // Panel 1 of the configuration window's status bar, and no other, opens it (tst_window).
    void panelOneOpensAModalBoxEachTime()
    {
        FakePlatform fp;
        QWidget owner;
        owner.setWindowTitle(QStringLiteral("Personal Vantelo Creator"));
        QStringList seen;
        const auto note = [&seen](frmAbout& box) {
            seen << box.windowTitle() + (box.isModal() ? u'|' : u'-') + labelText(box, "lblTitle") +
                        labelText(box, "lblVersion") + labelText(box, "lblDescription");
        };
        test::closeWhenShown<frmAbout>(&owner, note);
        QVERIFY(openAboutForPanel(1, &owner, fp.platform));
        owner.setWindowTitle(QStringLiteral("Renamed Window"));
        test::closeWhenShown<frmAbout>(&owner, note);
        QVERIFY(openAboutForPanel(1, &owner, fp.platform));
        const QString texts = u'|' + Title + QStringLiteral("Version 1.0.0") + Description;
        QCOMPARE(seen, (QStringList{"About Personal Vantelo Creator" + texts, "About Renamed Window" + texts}));
        QVERIFY(owner.findChildren<frmAbout*>().isEmpty()); // closing unloads: nothing left with the owner
        QVERIFY(!openAboutForPanel(2, &owner, fp.platform));
    }

    // ---- the Linux stand-in for the machine's registry ----

    void iniRegistryReadsItsStore()
    {
        QTemporaryDir dir;
        const QString store = test::writeBytes(dir.path(), "registry.ini",
                                               "; kept by the administrator\n"
                                               "[software\\microsoft\\shared tools\\msinfo]\n"
                                               "  path = /opt/info/system info  \n\n"
                                               "[SOFTWARE\\Microsoft\\Shared Tools Location]\r\n"
                                               "MSINFO=/opt/tools\r\n"
                                               "# not a value\r\n"
                                               "Level=dword:0000002A\r\n"
                                               "Broken=dword:not hex\r\n"
                                               "Named=Gr\xC3\xBC\xC3\x9F"
                                               "e\n"
                                               // With its terminating zero, 1023 characters fill the buffer.
                                               "Fits=" +
                                                   QByteArray(1023, 'a') + "\nLong=" + QByteArray(1024, 'b') + "\n");
        IniRegistry registry(store, {}, {dir.path()});
        QCOMPARE(readValue(registry, SysInfoPathKey, QStringLiteral("PATH")), QStringLiteral("/opt/info/system info"));
        QCOMPARE(readValue(registry, SysInfoFolderKey, QStringLiteral("msinfo")), QStringLiteral("/opt/tools"));
        QCOMPARE(readValue(registry, SysInfoFolderKey, QStringLiteral("Level")), QStringLiteral("42"));
        QCOMPARE(readValue(registry, SysInfoFolderKey, QStringLiteral("Named")), QStringLiteral("Grüße"));
        QCOMPARE(readValue(registry, SysInfoFolderKey, QStringLiteral("Fits")), QString(1023, u'a'));
        for (const char* missing : {"Broken", "comment", "Long"})
            QCOMPARE(readValue(registry, SysInfoFolderKey, QLatin1String(missing)), QStringLiteral("<none>"));
        QCOMPARE(readValue(registry, QStringLiteral("SOFTWARE\\Elsewhere"), QStringLiteral("PATH")),
                 QStringLiteral("<none>"));
        // The store stands for the local-machine root only.
        std::uintptr_t handle = 0;
        QVERIFY(registry.openKey(0x80000001u, SysInfoFolderKey, SysInfoKeyAccess, handle) != 0);
    }

    void iniRegistryFallsBackToAToolOnThePath_data()
    {
        QTest::addColumn<QByteArray>("store"); // empty: no store file at all
        QTest::addColumn<QStringList>("executables");
        QTest::addColumn<QStringList>("plainFiles");
        QTest::addColumn<QString>("expected"); // a bare name is taken from the search folder
        const QByteArray key = "[SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n";
        // clang-format off
        QTest::newRow("no store, one tool") << QByteArray() << QStringList{"kinfocenter"} << QStringList() << "kinfocenter";
        QTest::newRow("the first of the list wins") << QByteArray() << QStringList{"gnome-system-monitor", "hardinfo"} << QStringList() << "hardinfo";
        QTest::newRow("a file that cannot run is passed over") << QByteArray() << QStringList{"kinfocenter"} << QStringList{"hardinfo"} << "kinfocenter";
        QTest::newRow("the key without its value") << key + "Other=x\n" << QStringList{"hardinfo"} << QStringList() << "hardinfo";
        QTest::newRow("the store's entry wins") << key + "PATH=/opt/info/sysinfo\n" << QStringList{"hardinfo"} << QStringList() << "/opt/info/sysinfo";
        QTest::newRow("no store, no tool") << QByteArray() << QStringList() << QStringList{"hardinfo"} << "<none>";
        // clang-format on
    }
    void iniRegistryFallsBackToAToolOnThePath()
    {
        QFETCH(QByteArray, store);
        QFETCH(QStringList, executables);
        QFETCH(QStringList, plainFiles);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        test::writeBytes(dir.path(), "registry.ini", store);
        for (const QString& name : executables + plainFiles) {
            QVERIFY(!test::writeBytes(dir.path(), name, "#!/bin/sh\n").isEmpty());
            if (executables.contains(name))
                QVERIFY(QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::ExeOwner));
        }
        if (!expected.startsWith(u'/') && !expected.startsWith(u'<'))
            expected = dir.filePath(expected);
        IniRegistry registry(store.isEmpty() ? dir.filePath("none.ini") : dir.filePath("registry.ini"),
                             IniRegistry::defaultToolNames(), {dir.path()});
        QCOMPARE(readValue(registry, SysInfoPathKey, SysInfoPathValue), expected);
        // Only the first entry stands in for a tool; the folder entry is never made up.
        QCOMPARE(readValue(registry, SysInfoFolderKey, SysInfoFolderValue), QStringLiteral("<none>"));
    }
};

VANTELO_TEST_MAIN(TestAbout)
#include "tst_about.moc"

#include "about/SysInfo.h"
#include "about/frmAbout.h"
#include "platform/IniRegistry.h"
#include "support/Failure.h"
#include "support/FakePlatform.h"
#include "support/TestMain.h"

#include <QPushButton>
#include <QTimer>

using namespace vantelo;

namespace {

const QString PathKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString FolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString Unavailable = QStringLiteral(": System Information Is Unavailable At This Time"); // shown without a title

// What GetKeyValue makes of the key's value: "found" or "none" and the text, or its failure.
QString keyValue(Registry& registry, const QString& key, const QString& value)
{
    QString text = QStringLiteral("as passed");
    bool found = false;
    const int failure =
        test::failureOf([&] { found = GetKeyValue(registry, Registry::LocalMachine, key, value, text); });
    return failure ? QStringLiteral("E%1").arg(failure) : (found ? "found " : "none ") + text;
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
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("string without a terminating zero") << 1u << QByteArray("C:\\info.exe") << "found C:\\info.exe";
        QTest::newRow("only the last of two zeros goes") << 1u << QByteArray("ab\0\0", 4) << QString("found ab") + QChar(0);
        QTest::newRow("string filling the 1024 bytes") << 1u << QByteArray(1024, 'x') << "found " + QString(1024, u'x');
        QTest::newRow("one byte longer") << 1u << QByteArray(1025, 'x') << "none ";
        QTest::newRow("zero length") << 1u << QByteArray("") << "E5";
        QTest::newRow("double word") << 4u << QByteArray("\x2A\x00\x00\x00", 4) << "found 42";
        QTest::newRow("other type: text as passed") << 3u << QByteArray("\x01\x02", 2) << "found as passed";
        // clang-format on
    }
    void getKeyValue()
    {
        QFETCH(uint, type);
        QFETCH(QByteArray, bytes);
        test::FakeRegistryAndLauncher registry;
        registry.keys[PathKey]["PATH"] = {type, bytes};
        QTEST(keyValue(registry, PathKey, "PATH"), "expected");
    }

    void startSysInfo_data()
    {
        QTest::addColumn<QStringList>("entries"); // values of the two keys, and whether the folder holds the tool
        QTest::addColumn<QString>("events");
        const QString tool = QStringLiteral("exists? /opt/tools/MSINFO32.EXE; ");
        // clang-format off
        QTest::newRow("first entry naming a missing program") << QStringList{"PATH=/opt/gone"} << "start /opt/gone; " + Unavailable;
        QTest::newRow("first entry started unchecked, wins over the second") << QStringList{"PATH=/opt/info/sysinfo", "MSINFO=/opt/tools", "tool"} << "start /opt/info/sysinfo";
        QTest::newRow("only the second, tool in its folder") << QStringList{"MSINFO=/opt/tools", "tool"} << tool + "start /opt/tools/MSINFO32.EXE";
        QTest::newRow("only the second, no tool in its folder") << QStringList{"MSINFO=/opt/tools"} << tool + Unavailable;
        QTest::newRow("first value empty: no second try") << QStringList{"PATH=", "MSINFO=/opt/tools", "tool"} << Unavailable;
        // clang-format on
    }
    void startSysInfo()
    {
        QFETCH(QStringList, entries);
        test::FakePlatform fake;
        fake.about.existing << "/opt/info/sysinfo"; // a first entry's program exists, but for "/opt/gone"
        if (entries.removeAll("tool"))
            fake.about.existing << "/opt/tools/MSINFO32.EXE";
        for (const QString& entry : entries) {
            const QString name = entry.section(u'=', 0, 0), value = entry.section(u'=', 1);
            fake.about.keys[name == u"MSINFO" ? FolderKey : PathKey][name] = {1, value.toUtf8() +
                                                                                     QByteArray(!value.isEmpty(), 0)};
        }
        StartSysInfo(fake.platform, nullptr);
        QTEST((fake.about.asked + fake.prompter.said()).join(QStringLiteral("; ")), "events");
    }

    // Panel 1 of the configuration window's status bar opens it modally, loaded afresh each time; "System Info..."
    // keeps it open, OK, Enter and Escape close it.
    void theBoxAsOpened()
    {
        test::FakePlatform fake;
        fake.about.keys[PathKey]["PATH"] = {1, "/opt/info/sysinfo"};
        fake.about.existing << "/opt/info/sysinfo";
        QWidget owner;
        owner.setWindowTitle("Personal Vantelo Creator");
        QStringList seen;
        for (const Qt::Key closing : {Qt::Key(0), Qt::Key_Return, Qt::Key_Escape}) { // 0: OK clicked
            QTimer::singleShot(0, &owner, [&] {
                auto* box = owner.findChild<frmAbout*>();
                seen << QStringLiteral("%1 %2x%3").arg(box->windowTitle()).arg(box->width()).arg(box->height());
                for (const QObject* control : box->children()) // the icons' text is empty
                    seen.last() += " / " + control->property("text").toString();
                QTest::mouseClick(box->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
                seen.last() += box->isVisible() ? " / open" : " / closed";
                closing ? QTest::keyClick(box, closing)
                        : QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
                if (box->isVisible())
                    seen << "still open", box->close();
            });
            QVERIFY(openAboutForPanel(1, &owner, fake.platform));
            owner.setWindowTitle("Renamed");
        }
        const QString texts =
            " 382x237 /  / Personal Vantelo Creator\r\nBy\r\nTorvane Consulting /  / Version 1.0.0 / This Program "
            "is designed to be a tool for creating\r\nSlide Shows from personal pictures located on\r\na "
            "local drive / Warning: ... / OK / &System Info... / open";
        QCOMPARE(seen, (QStringList{"About Personal Vantelo Creator" + texts, "About Renamed" + texts,
                                    "About Renamed" + texts}));
        QCOMPARE(fake.about.asked + fake.prompter.said(), QStringList(3, "start /opt/info/sysinfo"));
        QVERIFY(owner.findChildren<frmAbout*>().isEmpty()); // closing unloads it
    }

    // The Linux stand-in for the registry: an administrator's INI file, and a known tool on the path
    // standing in for the first entry when the file names none.
    void iniRegistry()
    {
        const QByteArray store = "[software\\microsoft\\shared tools\\msinfo]\n  path = /opt/sys info  \n[SOFTWARE\\"
                                 "Microsoft\\Shared Tools Location]\r\nLevel=dword:0000002A\r\nFits=" +
                                 QByteArray(1023, 'a') + "\nLong=" + QByteArray(1024, 'b') + "\n";
        QTemporaryDir dir;
        for (const QString name : {"registry.ini", "gnome-system-monitor", "hardinfo", "kinfocenter"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(name.endsWith(".ini") ? store : "") >= 0 &&
                    file.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        }
        IniRegistry registry(dir.filePath("registry.ini"), IniRegistry::defaultToolNames(), {dir.path()});
        // Names match whatever their case, blanks around go, 1023 characters and the zero fill the buffer.
        QCOMPARE(QStringList({keyValue(registry, PathKey, "PATH"), keyValue(registry, FolderKey, "level"),
                              keyValue(registry, FolderKey, "Fits"), keyValue(registry, FolderKey, "Long"),
                              keyValue(registry, FolderKey, "MSINFO")}),
                 QStringList({"found /opt/sys info", "found 42", "found " + QString(1023, u'a'), "none ", "none "}));
        QVERIFY(!registry.readValue(0x80000001u, PathKey, "PATH")); // another root
        IniRegistry none(dir.filePath("none.ini"), IniRegistry::defaultToolNames(), {dir.path()});
        QCOMPARE(keyValue(none, PathKey, "PATH"), "found " + dir.filePath("hardinfo"));
        QVERIFY(QFile::setPermissions(dir.filePath("hardinfo"), QFile::ReadOwner)); // a file that cannot run
        QCOMPARE(keyValue(none, PathKey, "PATH"), "found " + dir.filePath("kinfocenter"));
    }
};

VANTELO_TEST_MAIN(TestAbout)
#include "tst_about.moc"

#include "about/SysInfo.h"
#include "about/frmAbout.h"
#include "platform/IniRegistry.h"
#include "platform/QtPlatform.h"
#include "support/Failure.h"
#include "support/TestMain.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace vantelo;

namespace {

const QString PathKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString FolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString Unavailable = QStringLiteral("message : System Information Is Unavailable At This Time");

// The registry, the launcher and the prompter the About box uses, telling what was asked of them in
// order; the other services are the real ones.
struct Fakes : Registry, Launcher, Prompter
{
    QMap<QString, QMap<QString, RegistryValue>> keys; // of the local-machine root
    QStringList existing, events;
    std::optional<RegistryValue> readValue(std::uint32_t root, const QString& key, const QString& value) override
    {
        if (root != LocalMachine || !keys.value(key).contains(value))
            return std::nullopt;
        return keys[key][value];
    }
    bool fileExists(const QString& path) override { return events << "exists? " + path, existing.contains(path); }
    bool startProgram(const QString& path) override
    {
        const bool starts = path == u"/opt/info/sysinfo" || path == u"/opt/tools/MSINFO32.EXE";
        return events << "start " + path + (starts ? "" : " failed"), starts;
    }
    void showMessage(QWidget*, MessageIcon icon, const QString& title, const QString& text) override
    {
        events << (icon == MessageIcon::Exclamation ? "message ! " : "message ") + title + ": " + text;
    }
    void beep() override {}
    Platform platform{*this, qtPlatform().dialogs, qtPlatform().screen, qtPlatform().random, *this,
                      *this, qtPlatform().program};
};

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
        QTest::addColumn<QByteArray>("bytes"); // null: no such value
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QString key = QStringLiteral("SOFTWARE\\Test");
        // clang-format off
        QTest::newRow("string with its terminating zero") << 1u << QByteArray("C:\\info.exe", 12) << key << "found C:\\info.exe";
        QTest::newRow("string without a terminating zero") << 1u << QByteArray("C:\\info.exe") << key << "found C:\\info.exe";
        QTest::newRow("only the last of two zeros goes") << 1u << QByteArray("ab\0\0", 4) << key << QString("found ab") + QChar(0);
        QTest::newRow("string filling the 1024 bytes") << 1u << QByteArray(1024, 'x') << key << "found " + QString(1024, u'x');
        QTest::newRow("one byte longer") << 1u << QByteArray(1025, 'x') << key << "none ";
        QTest::newRow("zero length") << 1u << QByteArray("") << key << "E5";
        QTest::newRow("double word") << 4u << QByteArray("\x2A\x00\x00\x00", 4) << key << "found 42";
        QTest::newRow("double word, every bit") << 4u << QByteArray("\xFF\xFF\xFF\xFF", 4) << key << "found 4294967295";
        QTest::newRow("other type: text as passed") << 3u << QByteArray("\x01\x02", 2) << key << "found as passed";
        QTest::newRow("no such value") << 1u << QByteArray() << key << "none ";
        QTest::newRow("no such key") << 1u << QByteArray("x") << "SOFTWARE\\Nowhere" << "none ";
        // clang-format on
    }
    void getKeyValue()
    {
        QFETCH(uint, type);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, key);
        Fakes fakes;
        if (!bytes.isNull())
            fakes.keys[QStringLiteral("SOFTWARE\\Test")][QStringLiteral("Value")] = {type, bytes};
        QTEST(keyValue(fakes, key, QStringLiteral("Value")), "expected");
    }

    void startSysInfo_data()
    {
        QTest::addColumn<QStringList>("entries"); // values of the two keys, and whether the folder holds the tool
        QTest::addColumn<QString>("events");
        const QString tool = QStringLiteral("exists? /opt/tools/MSINFO32.EXE; ");
        // clang-format off
        QTest::newRow("first entry started unchanged and unchecked") << QStringList{"PATH=/opt/info/sysinfo"} << "start /opt/info/sysinfo";
        QTest::newRow("first entry naming a missing program") << QStringList{"PATH=/opt/gone"} << "start /opt/gone failed; " + Unavailable;
        QTest::newRow("first entry wins over the second") << QStringList{"PATH=/opt/info/sysinfo", "MSINFO=/opt/tools", "tool"} << "start /opt/info/sysinfo";
        QTest::newRow("only the second, tool in its folder") << QStringList{"MSINFO=/opt/tools", "tool"} << tool + "start /opt/tools/MSINFO32.EXE";
        QTest::newRow("only the second, no tool in its folder") << QStringList{"MSINFO=/opt/tools"} << tool + Unavailable;
        QTest::newRow("first key without its value") << QStringList{"Other=x", "MSINFO=/opt/tools", "tool"} << tool + "start /opt/tools/MSINFO32.EXE";
        QTest::newRow("first value empty: no second try") << QStringList{"PATH=", "MSINFO=/opt/tools", "tool"} << Unavailable;
        QTest::newRow("neither entry") << QStringList{} << Unavailable;
        // clang-format on
    }
    void startSysInfo()
    {
        QFETCH(QStringList, entries);
        Fakes fakes;
        for (const QString& entry : entries) {
            const QString name = entry.section(u'=', 0, 0), value = entry.section(u'=', 1);
            if (entry == u"tool")
                fakes.existing << "/opt/tools/MSINFO32.EXE";
            else
                fakes.keys[name == u"MSINFO" ? FolderKey : PathKey][name] = {
                    1, value.isEmpty() ? "" : value.toUtf8() + '\0'};
        }
        StartSysInfo(fakes.platform, nullptr);
        QTEST(fakes.events.join(QStringLiteral("; ")), "events");
    }

    // Panel 1 of the configuration window's status bar, and no other, opens it modally, loaded afresh
    // each time; "System Info..." keeps it open, OK, Enter and Escape close it.
    void theBoxAsOpened()
    {
        Fakes fakes;
        fakes.keys[PathKey]["PATH"] = {1, "/opt/info/sysinfo"};
        QWidget owner;
        owner.setWindowTitle(QStringLiteral("Personal Vantelo Creator"));
        QStringList seen;
        for (const Qt::Key closing : {Qt::Key_unknown, Qt::Key_Return, Qt::Key_Escape}) { // unknown: OK clicked
            QTimer::singleShot(0, &owner, [&] {
                auto* box = owner.findChild<frmAbout*>();
                QStringList texts{box->windowTitle() + (box->isModal() ? " (modal)" : "")};
                for (const char* name : {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer"})
                    texts << box->findChild<QLabel*>(name)->text();
                for (const char* name : {"cmdOK", "cmdSysInfo"})
                    texts << box->findChild<QPushButton*>(name)->text();
                seen << texts.join(QStringLiteral(" / ")) +
                            QStringLiteral(" / %1x%2").arg(box->width()).arg(box->height());
                QTest::mouseClick(box->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
                if (closing == Qt::Key_unknown)
                    QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
                else
                    QTest::keyClick(box, closing);
                if (box->isVisible())
                    seen << "still open", box->close();
            });
            QVERIFY(openAboutForPanel(1, &owner, fakes.platform));
            owner.setWindowTitle(QStringLiteral("Renamed"));
        }
        const QString texts =
            " (modal) / Personal Vantelo Creator\r\nBy\r\nTorvane Consulting / Version 1.0.0 / This Program "
            "is designed to be a tool for creating\r\nSlide Shows from personal pictures located on\r\na "
            "local drive / Warning: ... / OK / &System Info... / 382x237";
        QCOMPARE(seen, (QStringList{"About Personal Vantelo Creator" + texts, "About Renamed" + texts,
                                    "About Renamed" + texts}));
        QCOMPARE(fakes.events, QStringList(3, "start /opt/info/sysinfo"));
        QVERIFY(owner.findChildren<frmAbout*>().isEmpty()); // closing unloads it
        QVERIFY(!openAboutForPanel(2, &owner, fakes.platform));
    }

    // ---- the Linux stand-in for the machine's registry ----

    void iniRegistryReadsItsStore()
    {
        QTemporaryDir dir;
        QFile store(dir.filePath("registry.ini"));
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write("; kept by the administrator\n[software\\microsoft\\shared tools\\msinfo]\n  path = /opt/info/sys "
                    "info  \n\n[SOFTWARE\\Microsoft\\Shared Tools Location]\r\nMSINFO=/opt/tools\r\n# not a value\r\n"
                    "Level=dword:0000002A\r\nBroken=dword:not hex\r\nNamed=Gr\xC3\xBC\xC3\x9F"
                    "e\nFits=" +
                    QByteArray(1023, 'a') + "\nLong=" + QByteArray(1024, 'b') + "\n");
        store.close();
        IniRegistry registry(store.fileName(), {}, {dir.path()});
        QStringList read{keyValue(registry, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH")};
        for (const char* value : {"msinfo", "Level", "Named", "Fits", "Long", "Broken", "# not a value"})
            read << keyValue(registry, "SOFTWARE\\Microsoft\\Shared Tools Location", value);
        // Names match whatever their case, blanks around go, 1023 characters and the zero fill the buffer.
        QCOMPARE(read, (QStringList{"found /opt/info/sys info", "found /opt/tools", "found 42", "found Grüße",
                                    "found " + QString(1023, u'a'), "none ", "none ", "none "}));
        QCOMPARE(keyValue(registry, "SOFTWARE\\Elsewhere", "PATH"), "none ");
        QVERIFY(
            !registry.readValue(0x80000001u, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO")); // another root
    }

    void iniRegistryFallsBackToAToolOnThePath_data()
    {
        QTest::addColumn<QByteArray>("store"); // empty: no store file at all
        QTest::addColumn<QStringList>("executables");
        QTest::addColumn<QStringList>("plainFiles");
        QTest::addColumn<QString>("expected"); // a bare name is taken from the search folder
        const QByteArray key = "[SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n";
        // clang-format off
        QTest::newRow("the first of the list wins") << QByteArray() << QStringList{"gnome-system-monitor", "hardinfo"} << QStringList() << "hardinfo";
        QTest::newRow("a file that cannot run is passed over") << QByteArray() << QStringList{"kinfocenter"} << QStringList{"hardinfo"} << "kinfocenter";
        QTest::newRow("the store's entry wins") << key + "PATH=/opt/info/sysinfo\n" << QStringList{"hardinfo"} << QStringList() << "/opt/info/sysinfo";
        QTest::newRow("no store, no tool") << QByteArray() << QStringList() << QStringList{"hardinfo"} << "";
        // clang-format on
    }
    void iniRegistryFallsBackToAToolOnThePath()
    {
        QFETCH(QByteArray, store);
        QFETCH(QStringList, executables);
        QFETCH(QStringList, plainFiles);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString& name : executables + plainFiles + QStringList{"registry.ini"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(name.endsWith(".ini") ? store : "#!/bin/sh\n") >= 0);
            file.setPermissions(executables.contains(name) ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner);
        }
        IniRegistry registry(dir.filePath(store.isEmpty() ? "none.ini" : "registry.ini"),
                             IniRegistry::defaultToolNames(), {dir.path()});
        const QString tool = expected.isEmpty() ? "" : expected.startsWith(u'/') ? expected : dir.filePath(expected);
        QCOMPARE(keyValue(registry, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH"),
                 (tool.isEmpty() ? "none " : "found ") + tool);
        // Only the first entry stands in for a tool; the folder entry is never made up.
        QCOMPARE(keyValue(registry, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO"), "none ");
    }
};

VANTELO_TEST_MAIN(TestAbout)
#include "tst_about.moc"

#include "about/SysInfo.h"
#include "platform/IniRegistry.h"
#include "support/FakePlatform.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>

using namespace vantelo;

namespace {

void writeFile(const QString& path, const QByteArray& content, bool executable = false)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    if (executable)
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
}

QString readValue(Registry& registry, const QString& keyName, const QString& valueName, bool* found = nullptr)
{
    QString text;
    const bool ok = GetKeyValue(registry, Registry::LocalMachine, keyName, valueName, text);
    if (found)
        *found = ok;
    return ok ? text : QStringLiteral("<not found>");
}

} // namespace

class TestIniRegistry : public QObject
{
    Q_OBJECT

private slots:
    void readsValuesOfTheStore();
    void valueLongerThanTheBufferIsNotFound();
    void sysInfoPathFallsBackToAToolOnThePath_data();
    void sysInfoPathFallsBackToAToolOnThePath();
    void startSysInfoStartsTheToolFound();
};

void TestIniRegistry::readsValuesOfTheStore()
{
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("registry.ini"));
    writeFile(store, "; kept by the administrator\n"
                     "[software\\microsoft\\shared tools\\msinfo]\n"
                     "  path = /opt/info/system info  \n"
                     "\n"
                     "[SOFTWARE\\Microsoft\\Shared Tools Location]\r\n"
                     "MSINFO=/opt/tools\r\n"
                     "# not a value\r\n"
                     "Level=dword:0000002A\r\n"
                     "Broken=dword:not hex\r\n"
                     "Named=Gr\xC3\xBC\xC3\x9F"
                     "e\n");
    IniRegistry registry(store, {}, {dir.path()});

    QCOMPARE(readValue(registry, SysInfoPathKey, QStringLiteral("PATH")), QStringLiteral("/opt/info/system info"));
    QCOMPARE(readValue(registry, SysInfoFolderKey, QStringLiteral("msinfo")), QStringLiteral("/opt/tools"));
    QCOMPARE(readValue(registry, SysInfoFolderKey, QStringLiteral("Level")), QStringLiteral("42"));
    QCOMPARE(readValue(registry, SysInfoFolderKey, QStringLiteral("Named")), QStringLiteral("Grüße"));
    QCOMPARE(readValue(registry, SysInfoFolderKey, QStringLiteral("Broken")), QStringLiteral("<not found>"));
    QCOMPARE(readValue(registry, SysInfoFolderKey, QStringLiteral("comment")), QStringLiteral("<not found>"));
    QCOMPARE(readValue(registry, QStringLiteral("SOFTWARE\\Elsewhere"), QStringLiteral("PATH")),
             QStringLiteral("<not found>"));
    // The store stands for the local-machine root only.
    std::uintptr_t handle = 0;
    QVERIFY(registry.openKey(0x80000001u, SysInfoFolderKey, SysInfoKeyAccess, handle) != 0);
}

void TestIniRegistry::valueLongerThanTheBufferIsNotFound()
{
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("registry.ini"));
    // With its terminating zero, 1023 characters fill the buffer exactly; 1024 do not fit.
    writeFile(store, "[SOFTWARE\\Test]\nFits=" + QByteArray(1023, 'a') + "\nLong=" + QByteArray(1024, 'b') + "\n");
    IniRegistry registry(store, {}, {dir.path()});
    QCOMPARE(readValue(registry, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("Fits")), QString(1023, u'a'));
    QCOMPARE(readValue(registry, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("Long")),
             QStringLiteral("<not found>"));
}

void TestIniRegistry::sysInfoPathFallsBackToAToolOnThePath_data()
{
    QTest::addColumn<QByteArray>("storeContent"); // empty: no store file at all
    QTest::addColumn<QStringList>("executables");
    QTest::addColumn<QStringList>("plainFiles");
    QTest::addColumn<QString>("expected"); // a bare name is taken from the search folder

    QTest::newRow("no store, one tool") << QByteArray() << QStringList{QStringLiteral("kinfocenter")} << QStringList()
                                        << QStringLiteral("kinfocenter");
    QTest::newRow("the first of the list wins")
        << QByteArray() << QStringList{QStringLiteral("gnome-system-monitor"), QStringLiteral("hardinfo")}
        << QStringList() << QStringLiteral("hardinfo");
    QTest::newRow("a file that cannot run is passed over")
        << QByteArray() << QStringList{QStringLiteral("kinfocenter")} << QStringList{QStringLiteral("hardinfo")}
        << QStringLiteral("kinfocenter");
    QTest::newRow("the key without its value")
        << QByteArray("[SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\nOther=x\n")
        << QStringList{QStringLiteral("hardinfo")} << QStringList() << QStringLiteral("hardinfo");
    QTest::newRow("the store's entry wins")
        << QByteArray("[SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\nPATH=/opt/info/sysinfo\n")
        << QStringList{QStringLiteral("hardinfo")} << QStringList() << QStringLiteral("/opt/info/sysinfo");
    QTest::newRow("no store, no tool") << QByteArray() << QStringList() << QStringList{QStringLiteral("hardinfo")}
                                       << QStringLiteral("<not found>");
}

void TestIniRegistry::sysInfoPathFallsBackToAToolOnThePath()
{
    QFETCH(QByteArray, storeContent);
    QFETCH(QStringList, executables);
    QFETCH(QStringList, plainFiles);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("registry.ini"));
    if (!storeContent.isEmpty())
        writeFile(store, storeContent);
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    for (const QString& name : executables)
        writeFile(bin + u'/' + name, "#!/bin/sh\n", true);
    for (const QString& name : plainFiles)
        writeFile(bin + u'/' + name, "not a program\n");
    if (!expected.startsWith(u'/') && !expected.startsWith(u'<'))
        expected = bin + u'/' + expected;

    IniRegistry registry(store, IniRegistry::defaultToolNames(), {bin});
    QCOMPARE(readValue(registry, SysInfoPathKey, SysInfoPathValue), expected);
    // Only the first entry stands in for a tool; the folder entry is never made up.
    QCOMPARE(readValue(registry, SysInfoFolderKey, SysInfoFolderValue), QStringLiteral("<not found>"));
}

void TestIniRegistry::startSysInfoStartsTheToolFound()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("hardinfo")), "#!/bin/sh\n", true);
    IniRegistry registry(dir.filePath(QStringLiteral("missing.ini")), IniRegistry::defaultToolNames(), {dir.path()});
    test::FakePlatform fp;
    Platform platform{fp.prompter, fp.dialogs, fp.screen, fp.random, registry, fp.launcher, fp.program};
    fp.launcher.startable << dir.filePath(QStringLiteral("hardinfo"));

    StartSysInfo(platform, nullptr);

    QCOMPARE(fp.launcher.started, QStringList{dir.filePath(QStringLiteral("hardinfo"))});
    QVERIFY(fp.prompter.messages.isEmpty());
}

VANTELO_TEST_MAIN(TestIniRegistry)
#include "tst_iniregistry.moc"

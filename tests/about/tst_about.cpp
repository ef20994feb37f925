#include "about/AboutIcons.h"
#include "about/SysInfo.h"
#include "about/frmAbout.h"
#include "common/AppError.h"
#include "support/FakePlatform.h"
#include "support/TestMain.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace vantelo;
using vantelo::test::FakePlatform;
using vantelo::test::FakeRegistry;

namespace {

const QString ConfigCaption = QStringLiteral("Personal Vantelo Creator");
const QString ExpectedTitle = QStringLiteral("Personal Vantelo Creator\r\nBy\r\nTorvane Consulting");
const QString ExpectedDescription = QStringLiteral("This Program is designed to be a tool for creating\r\n"
                                                   "Slide Shows from personal pictures located on\r\n"
                                                   "a local drive");

FakeRegistry::Value stringValue(const QByteArray& bytes)
{
    return {Registry::TypeString, bytes};
}

QString toolInFolder(const QString& folder)
{
    return folder + QDir::separator() + QStringLiteral("MSINFO32.EXE");
}

QString labelText(const QWidget& box, const char* name)
{
    const auto* label = box.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

struct SeenBox
{
    QString caption;
    QString title;
    QString version;
    QString description;
    bool modal;
};

// Closes every About box as soon as the event loop runs, noting what each showed. The context
// object bounds the timer to the calling test, so a box that never opens leaves nothing behind.
void closeAboutBoxesWhenShown(QObject* context, QList<SeenBox>& seen)
{
    QTimer::singleShot(0, context, [&seen] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<frmAbout*>(window);
            if (!box || !box->isVisible())
                continue;
            seen.append({box->windowTitle(), labelText(*box, "lblTitle"), labelText(*box, "lblVersion"),
                         labelText(*box, "lblDescription"), box->isModal()});
            box->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        }
    });
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void getKeyValue_readsValue_data();
    void getKeyValue_readsValue();
    void getKeyValue_failedReadClearsText_data();
    void getKeyValue_failedReadClearsText();
    void getKeyValue_zeroLengthIsAnError();

    void startSysInfo_data();
    void startSysInfo();
    void startSysInfo_zeroLengthFirstValueEndsAtMessage();

    void formLoad_fillsCaptionAndLabels();
    void layout_followsDesign_data();
    void layout_followsDesign();
    void separator_isEtched();
    void icons_areDrawn();
    void sysInfoButton_keepsBoxOpen();
    void closing_data();
    void closing();

    void panelOne_opensModalBoxEachTime();
    void otherPanels_openNothing_data();
    void otherPanels_openNothing();
};

void TestAbout::getKeyValue_readsValue_data()
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
    QTest::newRow("double word, high byte set")
        << 4u << QByteArray("\x00\x00\x00\x01", 4) << true << QStringLiteral("16777216");
    QTest::newRow("double word, every bit set")
        << 4u << QByteArray("\xFF\xFF\xFF\xFF", 4) << true << QStringLiteral("4294967295");
    QTest::newRow("other type leaves the text as passed")
        << 3u << QByteArray("\x01\x02", 2) << true << QStringLiteral("as passed");
}

void TestAbout::getKeyValue_readsValue()
{
    QFETCH(uint, type);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, found);
    QFETCH(QString, expected);

    FakePlatform fp;
    fp.registry.keys[QStringLiteral("SOFTWARE\\Test")][QStringLiteral("Value")] = {type, bytes};
    QString text = QStringLiteral("as passed");
    QCOMPARE(GetKeyValue(fp.registry, Registry::LocalMachine, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("Value"),
                         text),
             found);
    QCOMPARE(text, expected);
    QCOMPARE(fp.registry.accessMasks, QList<std::uint32_t>{0x2003Fu});
    QCOMPARE(fp.registry.openHandles, 0);
}

void TestAbout::getKeyValue_failedReadClearsText_data()
{
    QTest::addColumn<QString>("keyName");
    QTest::addColumn<bool>("queried");

    QTest::newRow("key that does not exist") << QStringLiteral("SOFTWARE\\Nowhere") << false;
    QTest::newRow("key that may not be opened with the access asked") << QStringLiteral("SOFTWARE\\Locked") << false;
    QTest::newRow("value missing from its key") << QStringLiteral("SOFTWARE\\Test") << true;
}

void TestAbout::getKeyValue_failedReadClearsText()
{
    QFETCH(QString, keyName);
    QFETCH(bool, queried);

    FakePlatform fp;
    fp.registry.keys[QStringLiteral("SOFTWARE\\Test")][QStringLiteral("Other")] = stringValue("x");
    fp.registry.keys[QStringLiteral("SOFTWARE\\Locked")][QStringLiteral("Value")] = stringValue("x");
    fp.registry.deniedKeys << QStringLiteral("SOFTWARE\\Locked");
    QString text = QStringLiteral("left over");
    QVERIFY(!GetKeyValue(fp.registry, Registry::LocalMachine, keyName, QStringLiteral("Value"), text));
    QCOMPARE(text, QString());
    QCOMPARE(fp.registry.queriedKeys.size(), queried ? 1 : 0);
    QCOMPARE(fp.registry.openHandles, 0);
}

void TestAbout::getKeyValue_zeroLengthIsAnError()
{
    FakePlatform fp;
    fp.registry.keys[QStringLiteral("SOFTWARE\\Test")][QStringLiteral("Value")] = stringValue(QByteArray());
    QString text;
    int raised = 0;
    try {
        GetKeyValue(fp.registry, Registry::LocalMachine, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("Value"),
                    text);
    } catch (const AppError& error) {
        raised = error.number();
    }
    QCOMPARE(raised, ErrorNumber::InvalidProcedureCall);
    // Leaving by the error must not leave the key open.
    QCOMPARE(fp.registry.openHandles, 0);
}

void TestAbout::startSysInfo_data()
{
    QTest::addColumn<QString>("firstPath");        // empty: no first entry
    QTest::addColumn<bool>("firstKeyWithoutPath"); // the first key exists but holds no "PATH"
    QTest::addColumn<QString>("secondFolder");     // empty: no second entry
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QStringList>("startable");
    QTest::addColumn<QStringList>("attempts");
    QTest::addColumn<QStringList>("checks");
    QTest::addColumn<bool>("unavailable");

    const QString first = QStringLiteral("/opt/info/sysinfo");
    const QString folder = QStringLiteral("/opt/tools");
    const QString second = toolInFolder(folder);
    QTest::newRow("first entry started unchanged and unchecked")
        << first << false << QString() << QStringList() << QStringList{first} << QStringList{first} << QStringList()
        << false;
    QTest::newRow("first entry naming a missing program")
        << first << false << QString() << QStringList() << QStringList() << QStringList{first} << QStringList() << true;
    QTest::newRow("first entry wins over the second")
        << first << false << folder << QStringList{second} << QStringList{first, second} << QStringList{first}
        << QStringList() << false;
    QTest::newRow("only the second entry, tool in its folder")
        << QString() << false << folder << QStringList{second} << QStringList{second} << QStringList{second}
        << QStringList{second} << false;
    QTest::newRow("only the second entry, no tool in its folder")
        << QString() << false << folder << QStringList() << QStringList{second} << QStringList() << QStringList{second}
        << true;
    QTest::newRow("first key without its value falls back to the second")
        << QString() << true << folder << QStringList{second} << QStringList{second} << QStringList{second}
        << QStringList{second} << false;
    QTest::newRow("neither entry") << QString() << false << QString() << QStringList() << QStringList() << QStringList()
                                   << QStringList() << true;
}

void TestAbout::startSysInfo()
{
    QFETCH(QString, firstPath);
    QFETCH(bool, firstKeyWithoutPath);
    QFETCH(QString, secondFolder);
    QFETCH(QStringList, existing);
    QFETCH(QStringList, startable);
    QFETCH(QStringList, attempts);
    QFETCH(QStringList, checks);
    QFETCH(bool, unavailable);

    FakePlatform fp;
    if (!firstPath.isEmpty())
        fp.registry.keys[SysInfoPathKey][QStringLiteral("PATH")] = stringValue(firstPath.toUtf8() + '\0');
    if (firstKeyWithoutPath)
        fp.registry.keys[SysInfoPathKey][QStringLiteral("Other")] = stringValue("x");
    if (!secondFolder.isEmpty())
        fp.registry.keys[SysInfoFolderKey][QStringLiteral("MSINFO")] = stringValue(secondFolder.toUtf8() + '\0');
    fp.launcher.existingFiles = existing;
    fp.launcher.startable = startable;

    StartSysInfo(fp.platform, nullptr);

    QCOMPARE(fp.launcher.startAttempts, attempts);
    QCOMPARE(fp.launcher.existenceChecks, checks);
    QCOMPARE(fp.prompter.messages.size(), unavailable ? 1 : 0);
    if (unavailable) {
        const auto& message = fp.prompter.messages.constFirst();
        QCOMPARE(message.text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(message.icon, MessageIcon::None);
        QCOMPARE(message.title, QString());
    }
    QCOMPARE(fp.registry.openHandles, 0);
}

void TestAbout::startSysInfo_zeroLengthFirstValueEndsAtMessage()
{
    FakePlatform fp;
    const QString folder = QStringLiteral("/opt/tools");
    fp.registry.keys[SysInfoPathKey][QStringLiteral("PATH")] = stringValue(QByteArray());
    fp.registry.keys[SysInfoFolderKey][QStringLiteral("MSINFO")] = stringValue(folder.toUtf8());
    fp.launcher.existingFiles << toolInFolder(folder);
    fp.launcher.startable << toolInFolder(folder);

    StartSysInfo(fp.platform, nullptr);

    QCOMPARE(fp.registry.queriedKeys, QStringList{SysInfoPathKey});
    QVERIFY(fp.launcher.startAttempts.isEmpty());
    QCOMPARE(fp.prompter.messages.size(), 1);
    QCOMPARE(fp.prompter.messages.constFirst().text, QStringLiteral("System Information Is Unavailable At This Time"));
}

void TestAbout::formLoad_fillsCaptionAndLabels()
{
    FakePlatform fp;
    QWidget owner;
    owner.setWindowTitle(ConfigCaption);
    frmAbout box(fp.platform, &owner);
    QCOMPARE(labelText(box, "lblVersion"), QStringLiteral("Version"));
    QCOMPARE(labelText(box, "lblDescription"), QStringLiteral("App Description"));

    box.Form_Load();

    QCOMPARE(box.windowTitle(), QStringLiteral("About Personal Vantelo Creator"));
    QCOMPARE(labelText(box, "lblTitle"), ExpectedTitle);
    QCOMPARE(labelText(box, "lblVersion"), QStringLiteral("Version 1.0.0"));
    QCOMPARE(labelText(box, "lblDescription"), ExpectedDescription);
    QCOMPARE(labelText(box, "lblDisclaimer"), QStringLiteral("Warning: ..."));
    const auto* cmdOK = box.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    const auto* cmdSysInfo = box.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
    QVERIFY(cmdOK && cmdSysInfo);
    QCOMPARE(cmdOK->text(), QStringLiteral("OK"));
    QVERIFY(cmdOK->isDefault());
    QCOMPARE(cmdSysInfo->text(), QStringLiteral("&System Info..."));
    const QFont titleFont = box.findChild<QLabel*>(QStringLiteral("lblTitle"))->font();
    QCOMPARE(titleFont.family(), QStringLiteral("Times New Roman"));
    QVERIFY(titleFont.bold());
    QCOMPARE(titleFont.pointSizeF(), 14.25);
}

void TestAbout::layout_followsDesign_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("picIcon(0)") << QStringLiteral("picIcon(0)") << QRect(8, 8, 36, 36);
    QTest::newRow("lblTitle") << QStringLiteral("lblTitle") << QRect(58, 8, 263, 68);
    QTest::newRow("picIcon(1)") << QStringLiteral("picIcon(1)") << QRect(340, 40, 36, 36);
    QTest::newRow("lblVersion") << QStringLiteral("lblVersion") << QRect(56, 84, 267, 15);
    QTest::newRow("lblDescription") << QStringLiteral("lblDescription") << QRect(56, 108, 267, 42);
    QTest::newRow("lblDisclaimer") << QStringLiteral("lblDisclaimer") << QRect(17, 175, 258, 55);
    QTest::newRow("cmdOK") << QStringLiteral("cmdOK") << QRect(283, 175, 84, 23);
    QTest::newRow("cmdSysInfo") << QStringLiteral("cmdSysInfo") << QRect(284, 205, 83, 23);
}

void TestAbout::layout_followsDesign()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);

    FakePlatform fp;
    frmAbout box(fp.platform, nullptr);
    box.Form_Load();
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.size(), QSize(382, 237));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    const auto* control = box.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
}

void TestAbout::separator_isEtched()
{
    FakePlatform fp;
    frmAbout box(fp.platform, nullptr);
    box.Form_Load();
    const QImage shot = box.grab().toImage();
    const QRgb grey = qRgb(0x80, 0x80, 0x80);
    const QRgb white = qRgb(0xFF, 0xFF, 0xFF);
    for (int x : {6, 200, 377})
        QCOMPARE(shot.pixel(x, 163), grey);
    for (int x : {7, 200, 377})
        QCOMPARE(shot.pixel(x, 164), white);
    QVERIFY(shot.pixel(5, 163) != grey);
    QVERIFY(shot.pixel(6, 164) != white);
    QVERIFY(shot.pixel(200, 165) != white);
}

void TestAbout::icons_areDrawn()
{
    const QImage pictureIcon = drawPictureIcon();
    const QImage slidesIcon = drawSlidesIcon();
    for (const QImage& icon : {pictureIcon, slidesIcon}) {
        QCOMPARE(icon.size(), QSize(32, 32));
        int opaque = 0;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                opaque += qAlpha(icon.pixel(x, y)) == 255;
        QVERIFY2(opaque > 32 * 32 / 2, qPrintable(QStringLiteral("only %1 opaque pixels").arg(opaque)));
    }
    QVERIFY(pictureIcon != slidesIcon);

    FakePlatform fp;
    frmAbout box(fp.platform, nullptr);
    for (const char* name : {"picIcon(0)", "picIcon(1)"}) {
        const auto* picIcon = box.findChild<QLabel*>(QLatin1String(name));
        QVERIFY(picIcon);
        QCOMPARE(picIcon->pixmap().size(), QSize(32, 32));
    }
}

void TestAbout::sysInfoButton_keepsBoxOpen()
{
    FakePlatform fp;
    fp.registry.keys[SysInfoPathKey][QStringLiteral("PATH")] = stringValue("/opt/info/sysinfo");
    fp.launcher.startable << QStringLiteral("/opt/info/sysinfo");
    frmAbout box(fp.platform, nullptr);
    box.Form_Load();
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    QCOMPARE(fp.launcher.started, QStringList{QStringLiteral("/opt/info/sysinfo")});
    QVERIFY(box.isVisible());

    fp.registry.keys.clear();
    QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    QCOMPARE(fp.prompter.messages.size(), 1);
    QVERIFY(box.isVisible());
}

void TestAbout::closing_data()
{
    QTest::addColumn<int>("key"); // 0: a click on OK

    QTest::newRow("OK clicked") << 0;
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void TestAbout::closing()
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
    QVERIFY(fp.prompter.messages.isEmpty());
}

void TestAbout::panelOne_opensModalBoxEachTime()
{
    FakePlatform fp;
    QWidget owner;
    owner.setWindowTitle(ConfigCaption);
    QObject context;
    QList<SeenBox> seen;

    closeAboutBoxesWhenShown(&context, seen);
    QVERIFY(openAboutForPanel(1, &owner, fp.platform));
    owner.setWindowTitle(QStringLiteral("Renamed Window"));
    closeAboutBoxesWhenShown(&context, seen);
    QVERIFY(openAboutForPanel(1, &owner, fp.platform));

    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[0].caption, QStringLiteral("About Personal Vantelo Creator"));
    QCOMPARE(seen[1].caption, QStringLiteral("About Renamed Window"));
    for (const SeenBox& box : seen) {
        QVERIFY(box.modal);
        QCOMPARE(box.title, ExpectedTitle);
        QCOMPARE(box.version, QStringLiteral("Version 1.0.0"));
        QCOMPARE(box.description, ExpectedDescription);
    }
    // Closing unloads: nothing of either box is left with the owner.
    QVERIFY(owner.findChildren<frmAbout*>().isEmpty());
}

void TestAbout::otherPanels_openNothing_data()
{
    QTest::addColumn<int>("panel");
    for (int panel : {2, 3, 6, 0})
        QTest::addRow("panel %d", panel) << panel;
}

void TestAbout::otherPanels_openNothing()
{
    QFETCH(int, panel);

    FakePlatform fp;
    QWidget owner;
    owner.setWindowTitle(ConfigCaption);
    QObject context;
    QList<SeenBox> seen;
    closeAboutBoxesWhenShown(&context, seen);

    QVERIFY(!openAboutForPanel(panel, &owner, fp.platform));
    QCoreApplication::processEvents();
    QVERIFY(seen.isEmpty());
    QVERIFY(owner.findChildren<frmAbout*>().isEmpty());
}

VANTELO_TEST_MAIN(TestAbout)
#include "tst_about.moc"

#include "about/frmAbout.h"
#include "config/BrowserLists.h"
#include "config/StatusBar.h"
#include "config/Vantelo.h"
#include "config/WindowTimer.h"
#include "show/FullShow.h"
#include "show/ImageBox.h"
#include "support/FakePlatform.h"
#include "support/Settle.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolTip>
#include <QTreeWidget>

using namespace vantelo;

namespace {

// The configuration window over fakes, loaded; its controls are reached by their design names.
struct Window : test::FakePlatform, Vantelo
{
    explicit Window(const QString& folder) : Vantelo(platform)
    {
        Form_Load();
        get<DirListBox>("DirList")->setPath(folder);
        prompter.onMessage = [this](const auto&) { timerWhileSaying << (timer()->isEnabled() ? "on" : "off"); };
    }
    template <class T = QWidget> T* get(const QString& name) const
    {
        T* control = findChild<T*>(name);
        return control ? control : (qFatal("no control %s", qPrintable(name)), nullptr);
    }
    QTreeWidget* list() const { return get<QTreeWidget>("lvwMain"); }
    FileListBox* files() const { return get<FileListBox>("FileList"); }
    WindowTimer* timer() const { return get<WindowTimer>("Timer1"); }
    StatusBar* bar() const { return get<StatusBar>("stbVantelo"); }
    QStringList text(const char* control) const { return {get(control)->property("text").toString()}; }
    QStringList timerWhileSaying;
    QStringList slides; // the caption under the preview after each start and tick of the small demonstration
};

} // namespace

// The configuration window as its user meets it: what is on screen, what each control does, which
// message it shows, which settings and files it writes.
class TestConfigWindow : public QObject
{
    Q_OBJECT
    QTemporaryDir m_pics; // the window browses it
    QTemporaryDir m_lists;
    QMap<QString, std::function<void(Window&, const QString&)>> m_steps;
    QMap<QString, std::function<QStringList(Window&, const QString&)>> m_looks;

    QTreeWidgetItem* slideRow(const QString& file) const
    {
        return new QTreeWidgetItem({m_pics.path() + u'/', file.section(u'|', 0, 0), file.section(u'|', 1), QString()});
    }

private slots:
    void initTestCase()
    {
        // Pictures with a red left half and a blue right half, so that two pixels tell the picture shown.
        for (const char* file : {"a.jpg 64 48", "b.jpg 30 40", "c.jpg 20 10", "IMG_0001.JPG 40 30",
                                 "landscape.jpg 800 600", "drawing.bmp 20 10"}) {
            const QStringList nameAndSize = QString::fromLatin1(file).split(u' ');
            QImage image(nameAndSize[1].toInt(), nameAndSize[2].toInt(), QImage::Format_RGB32);
            image.fill(Qt::blue);
            QPainter(&image).fillRect(0, 0, image.width() / 2, image.height(), Qt::red);
            QVERIFY(QImageWriter(m_pics.filePath(nameAndSize[0])).write(image));
        }
        QVERIFY(!test::writeBytes(m_pics.path(), "bnotes.jpg", "a shopping list\n").isEmpty());
        QVERIFY(!test::writeBytes(m_pics.path(), "damaged.jpg", "\xFF\xD8\xFF\xE0\x00\x10JFIF").isEmpty());
        QVERIFY(!test::writeBytes(m_pics.path(), "anim.GIF", "GIF89a").isEmpty());
        QVERIFY(QDir(m_pics.path()).mkpath(QStringLiteral("other")));
        using A = const QString&;
        const auto rect = [](const QRectF& r) {
            return u"%1,%2 %3x%4"_qs.arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
        };
        const auto number = [](auto n) { return QStringList{QString::number(n)}; };
        const auto redThenBlue = [](const QImage& i) {
            const QRgb left = i.pixel(2, i.height() / 2), right = i.pixel(i.width() - 3, i.height() / 2);
            return qRed(left) > 200 && qBlue(left) < 60 && qBlue(right) > 200 && qRed(right) < 60;
        };
        // clang-format off
        const auto select = [](QAbstractItemView* view, A entries) { // "0,2": those entries, the first one current
            view->setCurrentIndex(QModelIndex()), view->clearSelection();
            for (auto e = entries.split(u',', Qt::SkipEmptyParts); !e.isEmpty(); e.removeLast())
                view->selectionModel()->setCurrentIndex(view->model()->index(e.last().toInt(), 0), QItemSelectionModel::Select | QItemSelectionModel::Rows); };
        m_steps = {
            {"click", [](Window& w, A a) { QTest::mouseClick(w.get(a), Qt::LeftButton); }},
            {"start", [](Window& w, A) { QTest::mouseClick(w.get("cmdDemoSM"), Qt::LeftButton), test::settle(); w.slides << w.text("lblPicName"); }},
            {"tick", [](Window& w, A) { emit w.timer()->timeout(), test::settle(); w.slides << w.text("lblPicName"); }},
            {"file", [](Window& w, A a) { w.files()->setCurrentItem(w.files()->findItems(a, Qt::MatchExactly)[0]); emit w.files()->itemClicked(w.files()->currentItem()); }},
            {"dblfile", [](Window& w, A) { emit w.files()->itemDoubleClicked(w.files()->currentItem()); }},
            {"press", [](Window& w, A a) { const QKeyCombination k = QKeySequence::fromString(a)[0]; QTest::keyClick(w.files(), k.key(), k.keyboardModifiers()); }},
            {"ctrlclick", [](Window& w, A a) { QTest::mouseClick(w.files()->viewport(), Qt::LeftButton, Qt::ControlModifier, w.files()->visualItemRect(w.files()->findItems(a, Qt::MatchExactly)[0]).center()); }},
            {"row", [](Window& w, A a) { w.list()->setCurrentItem(w.list()->topLevelItem(a.toInt())); emit w.list()->itemClicked(w.list()->currentItem(), 1); }},
            {"dblrow", [this](Window& w, A a) { m_steps["row"](w, a), emit w.list()->itemDoubleClicked(w.list()->currentItem(), 1); }},
            {"files", [=](Window& w, A a) { select(w.files(), a); }},
            {"rows", [=](Window& w, A a) { select(w.list(), a); }},
            {"entry", [](Window& w, A a) { w.files()->addItem(a); }},
            {"add", [this](Window& w, A a) { w.list()->addTopLevelItem(slideRow(a)); }},
            {"many", [this](Window& w, A a) { for (int i = a.toInt(); i > 0; --i) m_steps["add"](w, u"a.jpg|6 X 8"_qs); }},
            {"type", [](Window& w, A a) { w.get<QLineEdit>("txtTimer")->setText(a); }},
            {"key", [](Window& w, A a) { QTest::keyClick(w.get("txtTimer"), QKeySequence::fromString(a)[0].key()); }},
            {"choose", [](Window& w, A a) { w.get<QComboBox>(a.section(u' ', 0, 0))->setCurrentIndex(a.right(1).toInt()); }},
            {"folder", [this](Window& w, A a) { w.get<DirListBox>("DirList")->setPath(m_pics.filePath(a)); }},
            {"status", [](Window& w, A a) { for (int panel : {2, 3, 4}) w.bar()->setPanelText(panel, a); }},
            {"save", [this](Window& w, A a) { w.dialogs.saveAnswers << m_lists.filePath(a); }},
            {"open", [this](Window& w, A a) { w.dialogs.openAnswers << m_lists.filePath(a); }},
            {"color", [](Window& w, A a) { w.dialogs.colorAnswers << (a == u"cancel" ? std::nullopt : std::optional(QColor(a))); }},
            {"write", [this](Window&, A a) { test::writeBytes(m_lists.path(), a.section(u' ', 0, 0), a.section(u' ', 1).toUtf8()); }},
            {"set", [](Window&, A a) { test::storeSettings({a}); }},
            {"escape", [](Window& w, A a) { QTest::keyClick(w.get(a), Qt::Key_Escape); }},
            {"draws", [](Window& w, A a) { for (const QString& r : a.split(u',')) w.random.draws << r.toFloat(); }},
            {"drag", [](Window& w, A) { QWidget* h = w.list()->header()->viewport(); QTest::mousePress(h, Qt::LeftButton, {}, {0, 5}); QTest::mouseMove(h, {60, 5}); QTest::mouseRelease(h, Qt::LeftButton, {}, {60, 5}); }},
            {"drives", [this](Window& w, A) { // the second drive holds the pictures; the third is gone
                w.get<DriveListBox>("DriveList")->setDrives({{"/", {}, "ext4", true}, {driveRootOf(m_pics.path()), {}, "ext4", true}, {"/media/gone", {}, "vfat", true}}); }},
        };
        m_looks = {
            {"said", [](Window& w, A) { return w.prompter.said(); }},
            {"caption", [](Window& w, A) { return w.text("lblPicName"); }},
            {"delay", [](Window& w, A) { return w.text("txtTimer"); }},
            {"panels", [](Window& w, A) { return QStringList{w.bar()->panelText(2) + u'|' + w.bar()->panelText(3) + u'|' + w.bar()->panelText(4)}; }},
            {"timer", [](Window& w, A) { return QStringList{QString::number(w.timer()->interval()) + (w.timer()->isEnabled() ? " on" : "")}; }},
            {"options", [](Window& w, A) { return QStringList{u"%1%2"_qs.arg(w.get<QRadioButton>("optShowStyle(0)")->isChecked()).arg(w.get<QRadioButton>("optShowStyle(1)")->isChecked())}; }},
            {"files", [](Window& w, A) { QStringList s; for (int i = 0; i < w.files()->count(); ++i) s << w.files()->item(i)->text(); return s; }},
            {"folder", [=](Window& w, A) { return QStringList{w.get<DirListBox>("DirList")->path()} + number(w.get<QComboBox>("DriveList")->currentIndex()); }},
            {"slides", [](Window& w, A) { return w.slides; }},
            {"ended", [=](Window& w, A) { return number(w.program.endCalls); }},
            {"beeps", [=](Window& w, A) { return number(w.prompter.beeps); }},
            {"lists", [this](Window&, A) { return QDir(m_lists.path()).entryList(QDir::Files); }},
            {"bytes", [this](Window&, A a) { QFile f(m_lists.filePath(a)); return QStringList{f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).replace(u"\r\n"_qs, u"¶"_qs) : "unreadable"}; }},
            {"timerWhileSaying", [](Window& w, A) { return w.timerWhileSaying; }},
            {"tip", [](Window& w, A a) { const QPoint at = w.list()->visualItemRect(w.list()->topLevelItem(a.toInt())).center(); QHelpEvent help(QEvent::ToolTip, at, w.list()->viewport()->mapToGlobal(at));
                QCoreApplication::sendEvent(w.list()->viewport(), &help); return QStringList{QToolTip::text().replace(u'\n', u'¶')}; }},
            {"label", [](Window& w, A) { const QWidget* l = w.get("lblFileName"); return l->toolTip().isEmpty() ? w.text("lblFileName") : QStringList{l->toolTip()}; }},
            {"shows", [](Window&, A) { QStringList s; for (QWidget* f : QApplication::topLevelWidgets()) if (qobject_cast<FullShow*>(f)) s << u"%1 %2 %3"_qs.arg(f->isVisible()).arg(!f->parentWidget()).arg(f->isModal()); return s; }},
            {"rows", [](Window& w, A) {
                QStringList s;
                for (const QTreeWidgetItem* r : w.list()->findItems({}, Qt::MatchContains))
                    s << r->text(0) + r->text(1) + u'|' + r->text(2) + (r->text(3).isEmpty() ? QString() : u'|' + r->text(3));
                return s; }},
            {"preview", [=](Window& w, A) {
                const ImageBox* box = w.get<ImageBox>("imgPreview");
                return QStringList{rect(box->box()) + (box->isHidden() ? " hidden" : "") + (redThenBlue(box->picture()) ? " red|blue" : "")}; }},
            {"demo", [](Window& w, A) { // "running" or "idle" when every control has that look, else what differs
                const bool on = w.timer()->isEnabled();
                QStringList s{w.get<QPushButton>("cmdDemoSM")->text(), w.get("cmdDemoSM")->toolTip()};
                for (const char* locked : {"cmdDemoLG", "optShowStyle(0)", "optShowStyle(1)", "cmdTimer"})
                    s << (w.get(locked)->isEnabled() == on ? QString::fromLatin1(locked) + (on ? " on" : " off") : QString());
                return s.join(u'|') == (on ? u"Stop|Ends the Slide Show Demonstration||||"_qs : u"Demo SM|Starts the Small Slide Show Demonstration||||"_qs) ? QStringList{on ? "running" : "idle"} : s; }},
            {"dialogs", [](Window& w, A) { return w.dialogs.calls; }},
            {"pixels", [=](Window& w, A) { return QStringList{rect(w.get("imgPreview")->geometry())}; }},
            {"ticking", [](Window& w, A) { // whether Timer1 ticks by itself, at its interval or at 5 ms if it has one
                QSignalSpy ticks(w.timer(), &WindowTimer::timeout);
                w.timer()->setInterval(std::min(w.timer()->interval(), 5));
                return QStringList{ticks.wait(100) ? "yes" : "no"}; }},
            {"logo", [](Window& w, A) { // the maker's logo: navy inside its circle, a gold ring
                const QImage logo = w.get<ImageBox>("imgPreview")->picture();
                const QColor inside = logo.pixelColor(17, 72), ring = logo.pixelColor(62, 15);
                return QStringList{inside.red() < 40 && inside.blue() > 70 && inside.blue() < 140 ? "navy" : inside.name(), ring.red() > 200 && ring.green() > 160 && ring.blue() < 80 ? "gold" : ring.name()}; }},
            {"layout", [=](Window& w, A a) { // parent, geometry, caption, tooltip
                const QWidget* c = w.get(a);
                return QStringList{c->parentWidget()->objectName(), rect(c->geometry()), qobject_cast<const QAbstractButton*>(c) ? w.text(qPrintable(a))[0] : "", c->toolTip()}; }},
            {"statusbar", [](Window& w, A) { // each panel's left edge and tooltip, what a click on it opened; the right edge
                QStringList s;
                w.show();
                for (int panel = 1; panel <= w.bar()->panelCount(); ++panel) {
                    s << QString::number(w.bar()->panelRect(panel).left()) + u' ' + w.bar()->panelToolTip(panel);
                    test::closeWhenShown<frmAbout>(&w, [&s](frmAbout& box) { s << u"opened "_qs + box.windowTitle(); });
                    QTest::mouseClick(w.bar()->childAt(w.bar()->panelRect(panel).center()), Qt::LeftButton);
                    QCoreApplication::processEvents();
                }
                return s << QString::number(w.bar()->panelRect(6).right() + 1); }},
            {"window", [=](Window& w, A) { // its caption and size; the list's columns; the file types; the clock
                const QTreeWidgetItem* h = w.list()->headerItem();
                const auto* types = w.get<QComboBox>("cboFiletype");
                return QStringList{w.windowTitle(), rect(QRect(QPoint(), w.minimumSize())), rect(QRect(QPoint(), w.maximumSize())), h->text(0), h->text(1), h->text(2), h->text(3),
                    w.list()->columnWidth(0) == 0 || w.list()->isColumnHidden(0) ? "first hidden" : "first shown", w.list()->selectionMode() == QAbstractItemView::ExtendedSelection ? "extended" : "single",
                    types->itemText(0), types->itemText(1), types->itemText(2), QString::number(types->count()), types->currentText(),
                    w.bar()->panelText(5) == QLocale().toString(QDate::currentDate(), QLocale::ShortFormat) ? "today" : "not today", w.bar()->panelText(6).isEmpty() ? "no time" : "time"}; }},
        };
        // clang-format on
    }
    void drivesAreTheLocalVolumesNotKnownUnreadyRootFirst()
    {
        const QString pics = m_pics.path(), other = m_pics.filePath(u"other"_qs);
        const QList<Volume> mounted{{other, u"STICK"_qs, "vfat", true},
                                    {u"/proc"_qs, {}, "proc", true},
                                    {pics, {}, "nfs4", true},
                                    {u"/"_qs, {}, "ext4", true},
                                    {QDir::tempPath(), {}, "iso9660", false},
                                    {u"/media/asleep"_qs, {}, "ext4", std::nullopt},
                                    {pics, {}, "btrfs", true},
                                    {other, u"STICK"_qs, "vfat", true}};
        QStringList drives;
        for (const Volume& drive : localDrives(mounted))
            drives << driveDisplayText(drive);
        QCOMPARE(drives, (QStringList{"/", "/media/asleep", pics, other + u" [STICK]"_qs}));
        // Asked, a volume answers for itself: a file or a folder that is no mount point is no drive.
        for (const QString& root : {QDir::rootPath(), m_pics.filePath(u"a.jpg"_qs), other})
            drives << QString::number(probeVolume({root, {}, {}, std::nullopt}).ready.value());
        QCOMPARE(drives.mid(4), (QStringList{"1", "0", "0"}));
    }
    void init()
    {
        QFile::remove(settingsFilePath());
        for (const QString& name : QDir(m_lists.path()).entryList(QDir::Files))
            QFile::remove(m_lists.filePath(name));
    }

    // Settings stored before the window opens ("; " between "Key=value"), the user's steps (initTestCase's,
    // joined by "; "; rows count from 0, "files 0,2" selects entries, the first current; "add NAME|SIZE" adds
    // a row; "save NAME", "open NAME" and "color" answer the next dialog), then what is seen, "what: as seen".
    // "said" comes first and is always seen: a row that names no message expects none. A "what" that is no
    // look of initTestCase's is a setting, "-" while never written. Lists are joined by ", ", CR LF in a file
    // is ¶; P is the pictures' folder, L the lists' folder.
    void scenarios_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("seen");
        // clang-format off
        const auto row = [](const char* tag, const QString& stored, const QString& steps, const QStringList& seen) { QTest::newRow(tag) << stored << steps << seen; };
        const auto warned = [](const char* text) { return u"said: ! Personal Vantelo Creator: "_qs + text; };
        const auto reported = [](int number, const char* what) { return u"said: Personal Vantelo Creator: Error: %1 has occurred in Project1 error was %2"_qs.arg(number).arg(what); };
        const QString three = u"add a.jpg|48 X 64; add b.jpg|40 X 30; add c.jpg|10 X 20; "_qs, four = three + u"add d.jpg|16 X 16; "_qs;
        const QString none = warned("No Images in the list to be removed"), noSlide = warned("No Images in the list to be displayed");
        const QString saved = u"File=L"_qs, old = u"add a.jpg|48 X 64; save old.vtl; click cmdSave; add b.jpg|40 X 30; "_qs;
        const QStringList unchanged{"bytes old.vtl:  1 ¶1 | P/ | a.jpg | 48 X 64 | ¶", "lists: old.vtl", "rows: P/a.jpg|48 X 64, P/b.jpg|40 X 30", "label: L/old.vtl", "File: L/old.vtl"};
        const QString badRow = u"1 | /p/ | x.jpg | 1 X 2 | \r\n"_qs, one = "write one.vtl  1 \r\n" + badRow + "; open one.vtl; click cmdLoad; ";
        const QString filter = u" Vantelo Files (*.vtl))"_qs;
        // what is on screen
        row("window", "", "", {"window: Personal Vantelo Creator, 0,0 556x354, 0,0 556x354, , Name, Size, Color, first hidden, extended, *.jpg, *.bmp, *.gif, 3, *.jpg, today, time", "logo: navy, gold", "statusbar: 0 About Personal Vantelo Creator, opened About Personal Vantelo Creator, 31 Image Path, 308 Image Size (Pixels), 381 Image Color Depth, 428 Current Date, 501 Current Time, 554",
            "preview: 204,36 125x145", "caption: Torvane Consulting", "panels: ||", "label: "});
        row("the browser frame", "", "", {"layout fraDirectory: , 4,4 157x273, , ", "layout DriveList: fraDirectory, 8,16 141x21, , ", "layout DirList: fraDirectory, 8,40 141x81, , ",
            "layout cboFiletype: fraDirectory, 8,128 141x21, , ", "layout FileList: fraDirectory, 8,156 141x110, , "});
        row("the preview", "", "", {"layout imgPreview: , 204,36 125x145, , ", "layout lblPicName: , 176,184 181x17, , ", "layout imgTemp: , 172,212 21x21, , "});
        row("cmdDemoSM and cmdDemoLG", "", "", {"layout cmdDemoSM: , 172,8 57x25, Demo SM, Starts the Small Slide Show Demonstration", "layout cmdDemoLG: , 240,8 57x25, Demo LG, Starts the Full Screen Slide Show Demonstration"});
        row("cmdColor", "", "", {"layout cmdColor: , 312,8 49x25, Color, Sets the Background Color"});
        row("cmdPicture(0) and cmdPicture(1)", "", "", {"layout cmdPicture(0): , 244,208 49x17, --->, Add Single Item", "layout cmdPicture(1): , 244,232 49x17, <---, Remove Single Item"});
        row("cmdPicture(2) and cmdPicture(3)", "", "", {"layout cmdPicture(2): , 244,264 49x17, ===>, Add All Selected Items", "layout cmdPicture(3): , 244,288 49x17, <===, Remove All Selected Items"});
        row("the list", "", "", {"layout lvwMain: , 372,8 173x261, , ", "layout lblFileName: , 376,272 165x13, , ", "layout txtTimer: , 8,288 25x25, , ", "layout stbVantelo: , 0,325 556x29, , "});
        row("cmdTimer", "", "", {"layout cmdTimer: , 36,288 57x25, Set Timer, Sets the Specific Time Between Slides"});
        row("optShowStyle(0) and optShowStyle(1)", "", "", {"layout optShowStyle(0): , 100,284 61x13, Ordered, View Pictures in Normal Order", "layout optShowStyle(1): , 100,304 61x13, Random, View Pictures in Random Order"});
        row("cmdSave and cmdLoad", "", "", {"layout cmdSave: , 364,292 57x25, Save List, Saves the List to a File", "layout cmdLoad: , 428,292 57x25, Load List, Loads a List From a Saved File"});
        row("cmdExit", "", "", {"layout cmdExit: , 496,292 53x25, E&xit, "});
        // start-up, on a work area of 1024 x 738
        row("nothing stored", "", "", {"ScreenWidth: 1024", "ScreenHeight: 738", "delay: 5", "timer: 5000", "options: 10", "ShowType: Ordered", "Delay: -", "BackColor: -"});
        row("random, blue", "Delay=9; BackColor=16711680; ShowType=Random", "click cmdExit", {"delay: 9", "timer: 9000", "options: 01", "BackColor: 16711680"});
        row("order in other case", "ShowType=random", "", {"options: 00", "ShowType: random"});
        row("leading zero", "Delay=07", "", {"delay: 7", "timer: 7000"});
        row("above a minute", "Delay=66", "", {"delay: 66", "timer: 66000"});
        for (const char* delay : {"", "abc", "40000", "-3"})
            row(qPrintable(u"stored delay \"%1\""_qs.arg(delay)), u"Delay="_qs + delay, "", {"delay: 5", "timer: 5000"});
        row("colour of letters", "BackColor=red", "click cmdExit", {"BackColor: 0"});
        // a clicked row is fitted to its stored size text: 133 high, centred on x = 266.5
        row("800 wide, 600 high", "", "add landscape.jpg|600 X 800; row 0", {"preview: 177.833,44 177.333x133 red|blue", "caption: landscape.jpg", "panels: ||"});
        row("600 wide, 800 high", "", "add landscape.jpg|800 X 600; row 0", {"preview: 216.625,44 99.75x133 red|blue"});
        row("1 by 1", "", "add landscape.jpg|1 X 1; row 0", {"preview: 200,44 133x133 red|blue"});
        row("wider than the preview", "", "add landscape.jpg|100 X 32767; row 0", {"preview: -21523.6,44 43580.1x133 red|blue"});
        row("0 X 0", "", "add landscape.jpg|0 X 0; row 0", {reported(11, "Division by zero"), "preview: 204,36 125x145 hidden", "caption: Torvane Consulting"});
        row("width of 40000", "", "add landscape.jpg|600 X 40000; row 0", {reported(6, "Overflow")});
        row("row of a picture gone", "", "add gone.jpg|10 X 10; row 0", {reported(53, "File not found"), "preview: 200,44 133x133 hidden"});
        // the picture browser
        row("jpg, any case", "", "", {"files: a.jpg, b.jpg, bnotes.jpg, c.jpg, damaged.jpg, IMG_0001.JPG, landscape.jpg"});
        row("bmp", "", "choose cboFiletype 1", {"files: drawing.bmp"});
        row("gif", "", "choose cboFiletype 2", {"files: anim.GIF"});
        row("a file clicked", "", "file landscape.jpg", {"panels: P/landscape.jpg|600 X 800|", "caption: landscape.jpg", "preview: 177.833,44 177.333x133 red|blue", "pixels: 178,44 177x133"});
        // the keys choose files as clicks do; Ctrl moves the focus without choosing, and a Ctrl+click lets go
        row("files chosen with the keys", "", "file a.jpg; press Down; press Ctrl+Down; press Ctrl+Down; press Ctrl+Space; press Ctrl+Up; ctrlclick c.jpg", {"panels: P/c.jpg|10 X 20|", "caption: c.jpg"});
        row("a damaged file", "", "file b.jpg; file damaged.jpg", {reported(481, "Invalid picture"), "panels: P/damaged.jpg|40 X 30|", "caption: b.jpg", "preview: 216.625,44 99.75x133 red|blue"});
        row("another folder", "", one + "folder other", {"label: ", "files: ", "rows: /p/x.jpg|1 X 2", "File: L/one.vtl"});
        row("a drive gone", "", "folder other; drives; choose DriveList 2", {warned("Drive Not Ready!"), "folder: P/other, 1"});
        // show settings and exit
        for (const QString taken : {"7", "05", "59"})
            row(qPrintable("Set Timer " + taken), "Delay=9", "type " + taken + "; click cmdTimer", {"timer: " + QString::number(taken.toInt() * 1000), "Delay: " + taken, "delay: " + taken});
        for (const char* refused : {"60", "99", "", "ab", "-5"})
            row(qPrintable(u"Set Timer \"%1\""_qs.arg(refused)), "Delay=9", "type " + QString::fromLatin1(refused) + "; click cmdTimer", {warned("Select a Value Less than 60"), "timer: 9000", "Delay: 9", "delay: 5"});
        row("typed digits, two at most", "", "type ; key 7; key 1; key 3", {"delay: 71", "beeps: 0"});
        for (const char* key : {"A", "Space", "-", "Backspace", "Return"})
            row(qPrintable(u"typed %1"_qs.arg(key)), "", "key " + QString::fromLatin1(key), {"delay: 5", "beeps: 1"});
        row("delete edits", "", "key Home; key Del; key 3", {"delay: 3", "beeps: 0"});
        row("Random", "", "click optShowStyle(1)", {"ShowType: Random", "options: 01"});
        row("Ordered", "ShowType=Random", "click optShowStyle(0)", {"ShowType: Ordered"});
        row("colour cancelled first", "BackColor=16711680", "color cancel; click cmdColor", {"BackColor: 0", "dialogs: color(#000000)"});
        row("red, then cancelled", "", "color #ff0000; click cmdColor; color cancel; click cmdColor", {"BackColor: 255", "dialogs: color(#000000), color(#ff0000)"});
        row("exit after green", "", "color #00ff00; click cmdColor; set BackColor=1; click cmdExit", {"BackColor: 65280", "ended: 1"});
        row("exit, typed, never set", "", "type 75; click optShowStyle(1); set ShowType=x; click cmdExit", {"Delay: 75", "ShowType: Random", "ended: 1"});
        row("exit, leading zero", "", "type 05; set ShowType=x; click cmdExit", {"Delay: 05", "ShowType: Ordered", "File: -"});
        for (const char* typed : {"", "7a"}) // no number in the box: the readers' default
            row(qPrintable(u"exit on \"%1\""_qs.arg(typed)), "", u"type %1; click cmdExit"_qs.arg(typed), {"Delay: 5"});
        row("exit, neither order", "ShowType=random", "set ShowType=x; click cmdExit", {"ShowType: x", "ended: 1"});
        row("exit after a load", "", one + "set File=earlier; click cmdExit", {"File: L/one.vtl"});
        row("exit after a folder change", "", one + "folder other; set File=earlier; click cmdExit", {"File: earlier"});
        for (const char* focus : {"txtTimer", "lvwMain", "FileList", "cboFiletype"}) // Escape, the cancel button's key
            row(qPrintable(u"Escape in %1"_qs.arg(focus)), "", "type 42; escape " + QString::fromLatin1(focus), {"ended: 1", "Delay: 42"});
        // slide list editing
        row("a row's tooltip; the folder column kept shut", "", "add a.jpg|48 X 64; add b.jpg|; drag", {"tip 0: P/a.jpg¶48 X 64", "tip 1: P/b.jpg", "window: Personal Vantelo Creator, 0,0 556x354, 0,0 556x354, , Name, Size, Color, first hidden, extended, *.jpg, *.bmp, *.gif, 3, *.jpg, today, time"});
        row("---> twice", "", "files 0; click cmdPicture(0); click cmdPicture(0)", {"rows: P/a.jpg|48 X 64, P/a.jpg|48 X 64", "caption: Torvane Consulting", "panels: ||", "label: "});
        row("---> with no file", "", "files ; click cmdPicture(0)", {warned("No Items are Selected"), "rows: "});
        row("---> no picture", "", "files 2; click cmdPicture(0)", {reported(481, "Invalid picture"), "rows: P/bnotes.jpg|"});
        row("double-click on a file", "", "file b.jpg; dblfile", {"rows: P/b.jpg|40 X 30"});
        row("===> in list order", "", "files 3,1,0; click cmdPicture(2)", {"rows: P/a.jpg|48 X 64, P/b.jpg|40 X 30, P/c.jpg|10 X 20"});
        row("===> with none selected", "", "files ; click cmdPicture(2)", {"rows: "});
        row("===> stops at no picture", "", "files 0,2,3; click cmdPicture(2)", {reported(481, "Invalid picture"), "rows: P/a.jpg|48 X 64, P/bnotes.jpg|"});
        row("===> stops at a file gone", "", "entry gone.jpg; files 1,7; click cmdPicture(2)", {reported(53, "File not found"), "rows: P/b.jpg|40 X 30, P/gone.jpg|"});
        row("<--- the selected row", "", four + "rows 2; click cmdPicture(1)", {"rows: P/a.jpg|48 X 64, P/b.jpg|40 X 30, P/d.jpg|16 X 16"});
        row("double-click on a row", "", four + "dblrow 1", {"rows: P/a.jpg|48 X 64, P/c.jpg|10 X 20, P/d.jpg|16 X 16"});
        row("<--- with none selected", "", four + "rows ; click cmdPicture(1)", {none, "rows: P/a.jpg|48 X 64, P/b.jpg|40 X 30, P/c.jpg|10 X 20, P/d.jpg|16 X 16"});
        row("<--- on an empty list", "", "click cmdPicture(1)", {none});
        row("<=== rows 2 and 3", "", four + "rows 1,2; click cmdPicture(3)", {"rows: P/a.jpg|48 X 64, P/d.jpg|16 X 16"});
        row("<=== every row", "", four + "rows 3,0,1,2; click cmdPicture(3)", {"rows: "});
        row("<=== with none selected", "", four + "rows ; click cmdPicture(3)", {none});
        // saving and loading
        row("save", "", "files 0,1; click cmdPicture(2); save two.vtl; click cmdSave", {"bytes two.vtl:  2 ¶1 | P/ | a.jpg | 48 X 64 | ¶2 | P/ | b.jpg | 40 X 30 | ¶", "label: L/two.vtl", "File: L/two.vtl", "dialogs: save(" + filter});
        row("save on an empty list", "", "click cmdSave", {warned("No Items in the List."), "dialogs: ", "File: -", "lists: "});
        row("save of 32768 rows", "", "many 32768; save big.vtl; click cmdSave", {reported(6, "Overflow"), "dialogs: ", "lists: "});
        row("save of 32767 rows", "", "many 32767; save big.vtl; click cmdSave", {"lists: big.vtl"});
        row("load", "", "write two.vtl  2 \r\n7 | /p/ | x.jpg | 1 X 2 | a | b\r\n3 | /q/ | y.gif |  | \r\n; add a.jpg|48 X 64; open two.vtl; click cmdLoad", {"rows: /p/x.jpg|1 X 2|a | b, /q/y.gif|", "label: L/two.vtl", "File: L/two.vtl", "dialogs: open(" + filter, "preview: 204,36 125x145"});
        row("load of none", "", "write none.vtl  0 \r\n" + badRow + "; add a.jpg|48 X 64; open none.vtl; click cmdLoad", {"rows: ", "File: L/none.vtl"});
        row("save, then load", "", old + "open old.vtl; click cmdLoad", {"rows: P/a.jpg|48 X 64", "dialogs: save(" + filter + ", open(L/old.vtl" + filter});
        row("save cancelled", "", old + "click cmdSave; click cmdLoad", unchanged + QStringList{"dialogs: save(" + filter + ", save(L/old.vtl" + filter + ", open(L/old.vtl" + filter});
        row("load cancelled", "", old + "click cmdLoad; click cmdSave", unchanged + QStringList{"dialogs: save(" + filter + ", open(L/old.vtl" + filter + ", save(L/old.vtl" + filter});
        row("save to a folder's name", "", old + "save .; click cmdSave", QStringList{reported(75, "Path/File access error")} + unchanged);
        row("save to a missing folder", "", old + "save no/such.vtl; click cmdSave", QStringList{reported(76, "Path not found")} + unchanged);
        row("load of a file gone", "", old + "open gone; click cmdLoad", QStringList{reported(53, "File not found")} + unchanged);
        row("load, fewer rows than counted", "", old + "write bad  3 \r\n" + badRow + "; open bad; click cmdLoad", {reported(62, "Input past end of file"), unchanged[2], unchanged[3], unchanged[4]});
        row("load, a row cut short", "", old + "write bad  2 \r\n" + badRow + "2 | /p/ | y.jpg\r\n; open bad; click cmdLoad", {reported(5, "Invalid procedure call or argument"), unchanged[2], unchanged[4]});
        row("load, count beyond 16 bits", "", old + "write bad  40000 \r\n" + badRow + "; open bad; click cmdLoad", {reported(6, "Overflow"), unchanged[2], unchanged[3], unchanged[4]});
        // the demonstrations; only the setting "File" counts, not the file
        row("no list saved", "", three + "status /a.jpg; start; click cmdDemoLG", {warned("No Image File saved for Vantelo") + ", ! Personal Vantelo Creator: No Image File saved for Vantelo", "demo: idle", "panels: /a.jpg|/a.jpg|/a.jpg", "shows: "});
        row("the first slide at the click", saved, three + "status old; start", {"demo: running", "panels: ||", "caption: a.jpg", "preview: 177.833,44 177.333x133 red|blue", "timer: 5000 on", "ticking: yes"});
        row("a delay of 0", saved + "; Delay=0", three + "start", {"demo: running", "timer: 0 on", "ticking: no"});
        row("in list order", saved, three + "start; tick; tick; tick; tick", {"slides: a.jpg, b.jpg, c.jpg, a.jpg, b.jpg", "preview: 216.625,44 99.75x133 red|blue"});
        row("rows added join", saved, "add a.jpg|48 X 64; add b.jpg|40 X 30; start; add c.jpg|10 X 20; tick; tick; tick", {"slides: a.jpg, b.jpg, c.jpg, a.jpg"});
        row("random", saved + "; ShowType=Random", three + "draws 0.25,0.75,0,0.9; start; tick; tick; tick", {"slides: b.jpg, b.jpg, a.jpg, c.jpg", "demo: running"});
        row("neither order: random", saved + "; ShowType=random", three + "draws 0.25,0.75,0,0.9; start; tick; tick; tick", {"slides: b.jpg, b.jpg, a.jpg, c.jpg"});
        row("stopped by Stop", saved, three + "start; click cmdDemoSM", {"demo: idle", "caption: Torvane Consulting", "preview: 204,36 125x145", "panels: ||", "timer: 5000"});
        row("stopped by the preview", saved, three + "start; click imgPreview", {"demo: idle", "caption: Torvane Consulting"});
        row("stopped by a file", saved, three + "start; file c.jpg", {"demo: idle", "caption: c.jpg", "panels: P/c.jpg|10 X 20|"});
        row("started again at row 1", saved, three + "start; tick; click cmdDemoSM; start", {"slides: a.jpg, b.jpg, a.jpg"});
        row("the preview when idle", saved, three + "row 1; click imgPreview", {"demo: idle", "caption: b.jpg"});
        row("an empty list", saved, "start", {noSlide, "demo: idle", "timerWhileSaying: off"});
        row("rows removed below", saved, three + "start; tick; rows 2; click cmdPicture(1); tick", {noSlide, "demo: idle", "caption: b.jpg", "timerWhileSaying: off"});
        row("a picture gone", saved, "add a.jpg|48 X 64; add gone.jpg|40 X 30; start; tick", {reported(53, "File not found"), "demo: idle", "caption: a.jpg", "preview: 177.833,44 177.333x133 hidden red|blue", "timerWhileSaying: off"});
        row("the large one", saved, "click cmdDemoLG; click cmdDemoLG", {"said: ! Personal Vantelo: File has been Modified or Deleted, Check Settings!", "shows: 1 1 0", "demo: idle"});
        // a settings file the user never wrote: the window opens silently on its defaults
        row("a hostile settings file", "[Settings]\nDelay=" + QString(1 << 20, u'9') + "\nBackColor=\xC3\x28\nShowType=\"Random\"\n\xFF\xFE\x01[", "click cmdExit", {"delay: 5", "options: 01", "BackColor: 0"});
        // clang-format on
    }
    void scenarios()
    {
        QFETCH(QString, stored);
        QFETCH(QString, steps);
        QFETCH(QStringList, seen);
        if (stored.startsWith(u'[')) // a settings file as it lies on disk
            test::writeSettingsFile(stored.toLatin1());
        else
            test::storeSettings(stored.replace(u"=L"_qs, u'=' + m_lists.filePath(u"gone.vtl"_qs)).split(u"; "_qs));
        Window w(m_pics.path());
        QVERIFY(test::settle());
        for (const QString& step : steps.split(u"; "_qs, Qt::SkipEmptyParts)) {
            const QString verb = step.section(u' ', 0, 0);
            QVERIFY2(m_steps.contains(verb), qPrintable(step));
            m_steps[verb](w, step.section(u' ', 1));
            QVERIFY(test::settle());
        }
        if (!seen.first().startsWith(u"said: "_qs))
            seen.prepend(u"said: "_qs);
        QStringList observed;
        for (const QString& expected : seen) {
            const QString what = expected.section(u": "_qs, 0, 0), name = what.section(u' ', 0, 0);
            const QStringList look =
                m_looks.contains(name) ? m_looks[name](w, what.section(u' ', 1))
                : QSettings(settingsFilePath(), QSettings::IniFormat).contains(u"Settings/"_qs + name)
                    ? QStringList{GetSetting({name, {}})}
                    : QStringList{u"-"_qs};
            observed << what + u": "_qs +
                            look.join(u", "_qs).replace(m_pics.path(), u"P"_qs).replace(m_lists.path(), u"L"_qs);
        }
        for (QWidget* window : QApplication::topLevelWidgets())
            delete qobject_cast<FullShow*>(window);
        QCOMPARE(observed, seen);
    }
};

VANTELO_TEST_MAIN(TestConfigWindow)
#include "tst_config.moc"

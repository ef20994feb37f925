#include "about/frmAbout.h"
#include "config/BrowserLists.h"
#include "config/StatusBar.h"
#include "config/Vantelo.h"
#include "config/WindowTimer.h"
#include "show/FullShow.h"
#include "show/ImageBox.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QComboBox>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace vantelo;

namespace {

QString warned(const QString& text)
{
    return QStringLiteral("said: ! Personal Vantelo Creator: ") + text;
}
QString reported(int number, const char* description)
{
    return QStringLiteral("said: Personal Vantelo Creator: Error: %1 has occurred in Project1 error was %2")
        .arg(number)
        .arg(QString::fromLatin1(description));
}

struct Fakes
{
    test::FakePlatform fp;
};

// The configuration window over fakes, loaded; its controls are reached by their design names.
struct Window : Fakes, Vantelo
{
    explicit Window(const QString& folder) : Vantelo(fp.platform)
    {
        Form_Load();
        get<DirListBox>("DirList")->setPath(folder);
        fp.prompter.onMessage = [this](const auto&) { timerWhileSaying << get<WindowTimer>("Timer1")->isEnabled(); };
    }
    ~Window() override { qDeleteAll(findFullShows()); }
    template <class T = QWidget> T* get(const QString& name) const
    {
        T* control = findChild<T*>(name);
        if (!control)
            qFatal("no control %s", qPrintable(name));
        return control;
    }
    static QList<FullShow*> findFullShows()
    {
        QList<FullShow*> shows;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* show = qobject_cast<FullShow*>(window))
                shows << show;
        return shows;
    }
    QTreeWidget* list() const { return get<QTreeWidget>("lvwMain"); }
    FileListBox* files() const { return get<FileListBox>("FileList"); }
    WindowTimer* timer() const { return get<WindowTimer>("Timer1"); }
    StatusBar* bar() const { return get<StatusBar>("stbVantelo"); }
    QString text(const char* label) const { return get<QLabel>(label)->text(); }
    QList<bool> timerWhileSaying;
    QStringList slides; // the caption under the preview after each start and tick of the small demonstration
};

// Selects the entries "0,2" of a list, the first one current; none for an empty text.
void select(QAbstractItemView* view, const QString& entries)
{
    view->clearSelection();
    view->setCurrentIndex(QModelIndex());
    for (const QString& entry : entries.split(u',', Qt::SkipEmptyParts))
        view->selectionModel()->select(view->model()->index(entry.toInt(), 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (!entries.isEmpty())
        view->selectionModel()->setCurrentIndex(view->model()->index(entries.section(u',', 0, 0).toInt(), 0),
                                                QItemSelectionModel::NoUpdate);
}

bool redThenBlue(const QImage& shown)
{
    const QRgb left = shown.pixel(2, shown.height() / 2), right = shown.pixel(shown.width() - 3, shown.height() / 2);
    return qRed(left) > 200 && qBlue(left) < 60 && qBlue(right) > 200 && qRed(right) < 60;
}

QString rect(const QRectF& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
}

void row(const char* tag, const QString& stored, const QString& steps, const QStringList& seen)
{
    QTest::newRow(tag) << stored << steps << seen;
}

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

    void write(const char* name, int width, int height, const char* format = "JPEG")
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
        QVERIFY(QImageWriter(m_pics.filePath(QString::fromLatin1(name)), format).write(image));
    }
    QTreeWidgetItem* slideRow(const QString& file) const
    {
        return new QTreeWidgetItem({m_pics.path() + u'/', file.section(u'|', 0, 0), file.section(u'|', 1), QString()});
    }
    // What is seen of one thing (see scenarios), with the test's folders as P and L.
    QString look(Window& w, const QString& what)
    {
        const QString name = what.section(u' ', 0, 0), arg = what.section(u' ', 1);
        const QStringList seen = m_looks.contains(name) ? m_looks[name](w, arg)
                                 : test::isStored(name) ? QStringList{GetSetting({name, QString()})}
                                                        : QStringList{QStringLiteral("-")};
        return seen.join(QStringLiteral(", ")).replace(m_pics.path(), u"P"_qs).replace(m_lists.path(), u"L"_qs);
    }

private slots:
    void initTestCase()
    {
        write("a.jpg", 64, 48);
        write("b.jpg", 30, 40);
        write("c.jpg", 20, 10);
        write("IMG_0001.JPG", 40, 30);
        write("landscape.jpg", 800, 600);
        write("drawing.bmp", 20, 10, "BMP");
        QVERIFY(!test::writeBytes(m_pics.path(), "bnotes.jpg", "a shopping list\n").isEmpty());
        QVERIFY(!test::writeBytes(m_pics.path(), "damaged.jpg", "\xFF\xD8\xFF\xE0\x00\x10JFIF").isEmpty());
        QVERIFY(!test::writeBytes(m_pics.path(), "anim.GIF", "GIF89a").isEmpty());
        QVERIFY(QDir(m_pics.path()).mkpath(QStringLiteral("other")));
        using A = const QString&;
        // clang-format off
        m_steps = {
            {"click", [](Window& w, A a) { QTest::mouseClick(w.get(a), Qt::LeftButton); }},
            {"start", [](Window& w, A) { QTest::mouseClick(w.get("cmdDemoSM"), Qt::LeftButton); }},
            {"tick", [](Window& w, A) { emit w.timer()->timeout(); }},
            {"file", [](Window& w, A a) { w.files()->setCurrentItem(w.files()->findItems(a, Qt::MatchExactly)[0]); }},
            {"dblfile", [](Window& w, A) { emit w.files()->itemDoubleClicked(w.files()->currentItem()); }},
            {"down", [](Window& w, A) { QTest::keyClick(w.files(), Qt::Key_Down); }},
            {"row", [](Window& w, A a) { w.list()->setCurrentItem(w.list()->topLevelItem(a.toInt())); }},
            {"dblrow", [this](Window& w, A a) { m_steps["row"](w, a), emit w.list()->itemDoubleClicked(w.list()->currentItem(), 1); }},
            {"files", [](Window& w, A a) { select(w.files(), a); }},
            {"rows", [](Window& w, A a) { select(w.list(), a); }},
            {"entry", [](Window& w, A a) { w.files()->addItem(a); }},
            {"add", [this](Window& w, A a) { w.list()->addTopLevelItem(slideRow(a)); }},
            {"many", [this](Window& w, A a) { for (int i = a.toInt(); i > 0; --i) m_steps["add"](w, u"a.jpg|6 X 8"_qs); }},
            {"type", [](Window& w, A a) { w.get<QLineEdit>("txtTimer")->setText(a); }},
            {"key", [](Window& w, A a) { QTest::keyClick(w.get("txtTimer"), QKeySequence::fromString(a)[0].key()); }},
            {"choose", [](Window& w, A a) { w.get<QComboBox>(a.section(u' ', 0, 0))->setCurrentIndex(a.right(1).toInt()); }},
            {"folder", [this](Window& w, A a) { w.get<DirListBox>("DirList")->setPath(m_pics.filePath(a)); }},
            {"status", [](Window& w, A a) { for (int panel : {2, 3, 4}) w.bar()->setPanelText(panel, a); }},
            {"save", [this](Window& w, A a) { w.fp.dialogs.saveAnswers << m_lists.filePath(a); }},
            {"open", [this](Window& w, A a) { w.fp.dialogs.openAnswers << m_lists.filePath(a); }},
            {"color", [](Window& w, A a) { w.fp.dialogs.colorAnswers << (a == u"cancel" ? std::nullopt : std::optional(QColor(a))); }},
            {"write", [this](Window&, A a) { test::writeBytes(m_lists.path(), a.section(u' ', 0, 0), a.section(u' ', 1).toUtf8()); }},
            {"set", [](Window&, A a) { test::storeSettings({a}); }},
            {"draws", [](Window& w, A a) { for (const QString& r : a.split(u',')) w.fp.random.draws << r.toFloat(); }},
            {"drives", [this](Window& w, A) { // the second drive holds the pictures; the third is gone
                w.get<DriveListBox>("DriveList")->setDrives({{"/", {}, "ext4", true}, {driveRootOf(m_pics.path()), {}, "ext4", true}, {"/media/gone", {}, "vfat", true}}); }},
            {"focus", [](Window& w, A a) { w.show(); QVERIFY(QTest::qWaitForWindowActive(&w)); w.get(a)->setFocus(); }},
            {"popup", [](Window& w, A) { w.get<QComboBox>("cboFiletype")->showPopup(); QTRY_VERIFY(QApplication::activePopupWidget()); }},
            {"escape", [](Window&, A) { QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::focusWidget(), Qt::Key_Escape); }},
        };
        const auto number = [](auto n) { return QStringList{QString::number(n)}; };
        m_looks = {
            {"said", [](Window& w, A) { return w.fp.prompter.said(); }},
            {"caption", [](Window& w, A) { return QStringList{w.text("lblPicName")}; }},
            {"panels", [](Window& w, A) { return QStringList{w.bar()->panelText(2) + u'|' + w.bar()->panelText(3) + u'|' + w.bar()->panelText(4)}; }},
            {"delay", [](Window& w, A) { return QStringList{w.get<QLineEdit>("txtTimer")->text()}; }},
            {"timer", [](Window& w, A) { return QStringList{QString::number(w.timer()->interval()) + (w.timer()->isEnabled() ? " on" : "")}; }},
            {"options", [](Window& w, A) { return QStringList{u"%1%2"_qs.arg(w.get<QRadioButton>("optShowStyle(0)")->isChecked()).arg(w.get<QRadioButton>("optShowStyle(1)")->isChecked())}; }},
            {"files", [](Window& w, A) { QStringList s; for (int i = 0; i < w.files()->count(); ++i) s << w.files()->item(i)->text(); return s; }},
            {"folder", [=](Window& w, A) { return QStringList{w.get<DirListBox>("DirList")->path()} + number(w.get<QComboBox>("DriveList")->currentIndex()); }},
            {"slides", [](Window& w, A) { return w.slides; }},
            {"ended", [=](Window& w, A) { return number(w.fp.program.endCalls); }},
            {"beeps", [=](Window& w, A) { return number(w.fp.prompter.beeps); }},
            {"lists", [this](Window&, A) { return QDir(m_lists.path()).entryList(QDir::Files); }},
            {"bytes", [this](Window&, A a) { return QStringList{QString::fromUtf8(test::readBytes(m_lists.filePath(a))).replace(u"\r\n"_qs, u"¶"_qs)}; }},
            {"timerWhileSaying", [](Window& w, A) { QStringList s; for (bool on : w.timerWhileSaying) s << (on ? "on" : "off"); return s; }},
            {"shows", [](Window&, A) { QStringList s; for (FullShow* f : Window::findFullShows()) s << QStringLiteral("%1 %2 %3").arg(f->isVisible()).arg(!f->parentWidget()).arg(f->isModal()); return s; }},
            {"label", [](Window& w, A) { // the path it names: its tooltip when it has one
                const auto* label = w.get<QLabel>("lblFileName");
                return QStringList{label->toolTip().isEmpty() ? label->text() : label->toolTip()}; }},
            {"rows", [](Window& w, A) {
                QStringList s;
                for (const QTreeWidgetItem* r : w.list()->findItems({}, Qt::MatchContains))
                    s << r->text(0) + r->text(1) + u'|' + r->text(2) + (r->text(3).isEmpty() ? QString() : u'|' + r->text(3));
                return s; }},
            {"preview", [](Window& w, A) {
                const ImageBox* box = w.get<ImageBox>("imgPreview");
                return QStringList{rect(box->box()) + (box->isHidden() ? " hidden" : "") + (redThenBlue(box->picture()) ? " red|blue" : "")}; }},
            {"demo", [](Window& w, A) { // "idle" or "running" when every control has that look, else what differs
                const bool on = w.timer()->isEnabled();
                QStringList s{w.get<QPushButton>("cmdDemoSM")->text(), w.get("cmdDemoSM")->toolTip()};
                for (const char* locked : {"cmdDemoLG", "optShowStyle(0)", "optShowStyle(1)", "cmdTimer"})
                    if (w.get(locked)->isEnabled() == on)
                        s << QString::fromLatin1(locked) + (on ? " enabled" : " disabled");
                if (s == QStringList{on ? "Stop" : "Demo SM", on ? "Ends the Slide Show Demonstration" : "Starts the Small Slide Show Demonstration"})
                    return QStringList{on ? "running" : "idle"};
                return s; }},
            {"dialogs", [](Window& w, A) {
                QStringList s;
                for (const test::FakeDialogs::Call& c : w.fp.dialogs.calls)
                    s << c.kind + u'(' + (c.kind == u"color" ? c.initialColor.name() : c.initialName + u' ' + c.filter) + u')';
                return s; }},
            {"layout", [](Window& w, A a) { // parent, geometry, caption, tooltip
                const QWidget* c = w.get(a);
                const auto* button = qobject_cast<const QAbstractButton*>(c);
                return QStringList{c->parentWidget()->objectName(), rect(c->geometry()), button ? button->text() : QString(), c->toolTip()}; }},
            {"window", [](Window& w, A) { return QStringList{w.windowTitle(), rect(QRect(QPoint(), w.minimumSize())), rect(QRect(QPoint(), w.maximumSize()))}; }},
            {"statusbar", [](Window& w, A) { // each panel's left edge and tooltip, and what a click on it opened; the right edge
                QStringList s;
                w.show();
                for (int panel = 1; panel <= w.bar()->panelCount(); ++panel) {
                    s << QString::number(w.bar()->panelRect(panel).left()) + u' ' + w.bar()->panelToolTip(panel);
                    test::closeWhenShown<frmAbout>(&w, [&s](frmAbout& box) { s << u"opened "_qs + box.windowTitle(); });
                    QTest::mouseClick(w.bar()->childAt(w.bar()->panelRect(panel).center()), Qt::LeftButton);
                    QCoreApplication::processEvents();
                }
                return s << QString::number(w.bar()->panelRect(6).right() + 1); }},
            {"clock", [](Window& w, A) { return QStringList{w.bar()->panelText(5) == QLocale().toString(QDate::currentDate(), QLocale::ShortFormat) ? "today" : "not today", w.bar()->panelText(6).isEmpty() ? "no time" : "time"}; }},
            {"columns", [=](Window& w, A) {
                const QTreeWidgetItem* h = w.list()->headerItem();
                const bool hidden = w.list()->columnWidth(0) == 0 || w.list()->isColumnHidden(0);
                return QStringList{h->text(0), h->text(1), h->text(2), h->text(3), hidden ? "first hidden" : "first shown"} + number(w.list()->selectionMode()); }},
            {"types", [](Window& w, A) { const auto* c = w.get<QComboBox>("cboFiletype"); return QStringList{c->itemText(0), c->itemText(1), c->itemText(2), QString::number(c->count()), c->currentText()}; }},
        };
        // clang-format on
    }
    void init()
    {
        QFile::remove(settingsFilePath());
        for (const QString& name : QDir(m_lists.path()).entryList(QDir::Files))
            QFile::remove(m_lists.filePath(name));
    }

    // Settings stored before the window opens ("; " between "Key=value"), the user's steps, then what is
    // seen, each "what: as seen". Steps, separated by "; ":
    //   click NAME          a click on a control; "start" on "Demo SM"; "tick" of Timer1
    //   file NAME, dblfile  a click on a file of the file list, a double-click on the current one; "down" key
    //   row N, dblrow N     a click, a double-click on a row of the slide list (from 0)
    //   files 0,2; rows 1   those entries selected, the first one current; "entry NAME" lists one more file
    //   add NAME|SIZE       a row of a picture of the folder browsed; "many N": N rows
    //   type TEXT; key K    the delay box's text; one key typed into it
    //   choose COMBO N; drives; folder NAME; status TEXT (panels 2 to 4); focus NAME; popup; escape
    //   save NAME, open NAME, color #RRGGBB or cancel: the next answer of that dialog
    //   write NAME TEXT; set KEY=VALUE; draws R,R
    // "said" comes first and is always seen: a row that names no message expects none. A "what" that is no look of the
    // test's (see initTestCase) is a setting, "-" while never written. Lists are joined by ", ",
    // CR LF in a file is ¶; P is the pictures' folder, L the lists' folder.
    void scenarios_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("seen");
        const QString three = QStringLiteral("add a.jpg|48 X 64; add b.jpg|40 X 30; add c.jpg|10 X 20; ");
        const QString four = three + QStringLiteral("add d.jpg|16 X 16; ");
        const QString none = warned("No Images in the list to be removed");
        const QString noSlide = warned("No Images in the list to be displayed");
        const QString saved = QStringLiteral("File=L");
        const QString old = QStringLiteral("add a.jpg|48 X 64; save old.vtl; click cmdSave; add b.jpg|40 X 30; ");
        const QStringList unchanged{"bytes old.vtl:  1 ¶1 | P/ | a.jpg | 48 X 64 | ¶", "lists: old.vtl",
                                    "rows: P/a.jpg|48 X 64, P/b.jpg|40 X 30", "label: L/old.vtl", "File: L/old.vtl"};
        const QString one =
            QStringLiteral("write one.vtl  1 \r\n1 | /p/ | x.jpg | 1 X 2 | \r\n; open one.vtl; click cmdLoad; ");
        const QString badRow = QStringLiteral("1 | /p/ | x.jpg | 1 X 2 | \r\n");
        const QString wide = QStringLiteral("Personal Vantelo Creator, 0,0 556x354, 0,0 556x354");
        // clang-format off
        // what is on screen
        row("window", "", "", {"window: " + wide, "statusbar: 0 About Personal Vantelo Creator, opened About Personal Vantelo Creator, 31 Image Path, 308 Image Size (Pixels), 381 Image Color Depth, 428 Current Date, 501 Current Time, 554", "clock: today, time", "columns: , Name, Size, Color, first hidden, 3", "types: *.jpg, *.bmp, *.gif, 3, *.jpg", "preview: 204,36 125x145", "caption: Torvane Consulting", "panels: ||", "label: "});
        row("fraDirectory", "", "", {"layout fraDirectory: , 4,4 157x273, , "});
        row("DriveList", "", "", {"layout DriveList: fraDirectory, 8,16 141x21, , "});
        row("DirList", "", "", {"layout DirList: fraDirectory, 8,40 141x81, , "});
        row("cboFiletype", "", "", {"layout cboFiletype: fraDirectory, 8,128 141x21, , "});
        row("FileList", "", "", {"layout FileList: fraDirectory, 8,156 141x110, , "});
        row("imgPreview", "", "", {"layout imgPreview: , 204,36 125x145, , "});
        row("lblPicName", "", "", {"layout lblPicName: , 176,184 181x17, , "});
        row("imgTemp", "", "", {"layout imgTemp: , 172,212 21x21, , "});
        row("cmdDemoSM", "", "", {"layout cmdDemoSM: , 172,8 57x25, Demo SM, Starts the Small Slide Show Demonstration"});
        row("cmdDemoLG", "", "", {"layout cmdDemoLG: , 240,8 57x25, Demo LG, Starts the Full Screen Slide Show Demonstration"});
        row("cmdColor", "", "", {"layout cmdColor: , 312,8 49x25, Color, Sets the Background Color"});
        row("cmdPicture(0)", "", "", {"layout cmdPicture(0): , 244,208 49x17, --->, Add Single Item"});
        row("cmdPicture(1)", "", "", {"layout cmdPicture(1): , 244,232 49x17, <---, Remove Single Item"});
        row("cmdPicture(2)", "", "", {"layout cmdPicture(2): , 244,264 49x17, ===>, Add All Selected Items"});
        row("cmdPicture(3)", "", "", {"layout cmdPicture(3): , 244,288 49x17, <===, Remove All Selected Items"});
        row("lvwMain", "", "", {"layout lvwMain: , 372,8 173x261, , "});
        row("lblFileName", "", "", {"layout lblFileName: , 376,272 165x13, , "});
        row("txtTimer", "", "", {"layout txtTimer: , 8,288 25x25, , "});
        row("cmdTimer", "", "", {"layout cmdTimer: , 36,288 57x25, Set Timer, Sets the Specific Time Between Slides"});
        row("optShowStyle(0)", "", "", {"layout optShowStyle(0): , 100,284 61x13, Ordered, View Pictures in Normal Order"});
        row("optShowStyle(1)", "", "", {"layout optShowStyle(1): , 100,304 61x13, Random, View Pictures in Random Order"});
        row("cmdSave", "", "", {"layout cmdSave: , 364,292 57x25, Save List, Saves the List to a File"});
        row("cmdLoad", "", "", {"layout cmdLoad: , 428,292 57x25, Load List, Loads a List From a Saved File"});
        row("cmdExit", "", "", {"layout cmdExit: , 496,292 53x25, E&xit, "});
        row("stbVantelo", "", "", {"layout stbVantelo: , 0,325 556x29, , "});
        // start-up, on a work area of 1024 x 738
        row("nothing stored", "", "", {"ScreenWidth: 1024", "ScreenHeight: 738", "delay: 5", "timer: 5000", "options: 10", "ShowType: Ordered", "Delay: -", "BackColor: -"});
        row("random, blue", "Delay=9; BackColor=16711680; ShowType=Random", "click cmdExit", {"delay: 9", "timer: 9000", "options: 01", "BackColor: 16711680"});
        row("order in other case", "ShowType=random", "", {"options: 00", "ShowType: random"});
        row("leading zero", "Delay=07", "", {"delay: 7", "timer: 7000"});
        row("above a minute", "Delay=66", "", {"delay: 66", "timer: 66000"});
        row("empty delay", "Delay=", "", {"delay: 5", "timer: 5000"});
        row("delay of letters", "Delay=abc", "", {"delay: 5", "timer: 5000"});
        row("delay beyond 16 bits", "Delay=40000", "", {"delay: 5", "timer: 5000"});
        row("negative delay", "Delay=-3", "", {"delay: 5", "timer: 5000"});
        row("colour of letters", "BackColor=red", "click cmdExit", {"BackColor: 0"});
        // a clicked row is fitted to its stored size text: 133 high, centred on x = 266.5
        row("800 wide, 600 high", "", "add landscape.jpg|600 X 800; row 0", {"preview: 177.833,44 177.333x133 red|blue", "caption: landscape.jpg", "panels: ||"});
        row("600 wide, 800 high", "", "add landscape.jpg|800 X 600; row 0", {"preview: 216.625,44 99.75x133 red|blue"});
        row("1 by 1", "", "add landscape.jpg|1 X 1; row 0", {"preview: 200,44 133x133 red|blue"});
        row("wider than the preview", "", "add landscape.jpg|100 X 32767; row 0", {"preview: -21523.6,44 43580.1x133 red|blue"});
        row("0 X 0", "", "add landscape.jpg|0 X 0; row 0", {reported(11, "Division by zero"), "preview: 204,36 125x145 hidden", "caption: Torvane Consulting"});
        row("no size", "", "add landscape.jpg|; row 0", {reported(11, "Division by zero")});
        row("small x", "", "add landscape.jpg|600 x 800; row 0", {reported(11, "Division by zero")});
        row("width of 40000", "", "add landscape.jpg|600 X 40000; row 0", {reported(6, "Overflow")});
        row("row of a picture gone", "", "add gone.jpg|10 X 10; row 0", {reported(53, "File not found"), "preview: 200,44 133x133 hidden"});
        row("row of no picture", "", "add bnotes.jpg|10 X 10; row 0", {reported(481, "Invalid picture"), "caption: Torvane Consulting"});
        // the picture browser
        row("jpg, any case", "", "", {"files: a.jpg, b.jpg, bnotes.jpg, c.jpg, damaged.jpg, IMG_0001.JPG, landscape.jpg"});
        row("bmp", "", "choose cboFiletype 1", {"files: drawing.bmp"});
        row("gif", "", "choose cboFiletype 2", {"files: anim.GIF"});
        row("a file clicked", "", "file landscape.jpg", {"panels: P/landscape.jpg|600 X 800|", "caption: landscape.jpg", "preview: 177.833,44 177.333x133 red|blue"});
        row("the down key", "", "file a.jpg; down", {"panels: P/b.jpg|40 X 30|", "caption: b.jpg"});
        row("a damaged file", "", "file b.jpg; file damaged.jpg", {reported(481, "Invalid picture"), "panels: P/damaged.jpg|40 X 30|", "caption: b.jpg", "preview: 216.625,44 99.75x133 red|blue"});
        row("another folder", "", one + "folder other", {"label: ", "files: ", "rows: /p/x.jpg|1 X 2", "File: L/one.vtl"});
        row("a drive gone", "", "folder other; drives; choose DriveList 2", {warned("Drive Not Ready!"), "folder: P/other, 1"});
        // show settings and exit
        row("Set Timer 7", "Delay=9", "type 7; click cmdTimer", {"timer: 7000", "Delay: 7", "delay: 7"});
        row("Set Timer 05", "Delay=9", "type 05; click cmdTimer", {"timer: 5000", "Delay: 05"});
        row("Set Timer 59", "Delay=9", "type 59; click cmdTimer", {"timer: 59000", "Delay: 59"});
        for (const char* refused : {"60", "99", "", "ab", "-5"})
            row(refused, "Delay=9", "type " + QString::fromLatin1(refused) + "; click cmdTimer", {warned("Select a Value Less than 60"), "timer: 9000", "Delay: 9", "delay: 5"});
        row("typed digits, two at most", "", "type ; key 7; key 1; key 3", {"delay: 71", "beeps: 0"});
        for (const char* key : {"A", "Space", "-", "Backspace", "Return"})
            row(key, "", "key " + QString::fromLatin1(key), {"delay: 5", "beeps: 1"});
        row("delete edits", "", "key Home; key Del; key 3", {"delay: 3", "beeps: 0"});
        row("Random", "", "click optShowStyle(1)", {"ShowType: Random", "options: 01"});
        row("Ordered", "ShowType=Random", "click optShowStyle(0)", {"ShowType: Ordered"});
        row("colour cancelled first", "BackColor=16711680", "color cancel; click cmdColor", {"BackColor: 0", "dialogs: color(#000000)"});
        row("red, then cancelled", "", "color #ff0000; click cmdColor; color cancel; click cmdColor", {"BackColor: 255", "dialogs: color(#000000), color(#ff0000)"});
        row("exit after green", "", "color #00ff00; click cmdColor; set BackColor=1; click cmdExit", {"BackColor: 65280", "ended: 1"});
        row("exit, typed, never set", "", "type 75; click optShowStyle(1); set ShowType=x; click cmdExit", {"Delay: 75", "ShowType: Random", "ended: 1"});
        row("exit, leading zero", "", "type 05; set ShowType=x; click cmdExit", {"Delay: 05", "ShowType: Ordered", "File: -"});
        row("exit, emptied box", "", "type ; click cmdExit", {"Delay: 5"});
        row("exit, pasted letters", "", "type 7a; click cmdExit", {"Delay: 5"});
        row("exit, neither order", "ShowType=random", "set ShowType=x; click cmdExit", {"ShowType: x", "ended: 1"});
        row("exit after a load", "", one + "set File=earlier; click cmdExit", {"File: L/one.vtl"});
        row("exit after a folder change", "", one + "folder other; set File=earlier; click cmdExit", {"File: earlier"});
        for (const char* focus : {"txtTimer", "lvwMain", "FileList", "cboFiletype"})
            row(focus, "", "type 42; focus " + QString::fromLatin1(focus) + "; escape", {"ended: 1", "Delay: 42"});
        row("escape in an open drop-down", "", "focus cboFiletype; popup; escape", {"ended: 0", "Delay: -"});
        // slide list editing
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
        row("save", "", "files 0,1; click cmdPicture(2); save two.vtl; click cmdSave", {"bytes two.vtl:  2 ¶1 | P/ | a.jpg | 48 X 64 | ¶2 | P/ | b.jpg | 40 X 30 | ¶", "label: L/two.vtl", "File: L/two.vtl", "dialogs: save( Vantelo Files (*.vtl))"});
        row("save on an empty list", "", "click cmdSave", {warned("No Items in the List."), "dialogs: ", "File: -", "lists: "});
        row("save of 32768 rows", "", "many 32768; save big.vtl; click cmdSave", {reported(6, "Overflow"), "dialogs: ", "lists: "});
        row("save of 32767 rows", "", "many 32767; save big.vtl; click cmdSave", {"lists: big.vtl"});
        row("load", "", "write two.vtl  2 \r\n7 | /p/ | x.jpg | 1 X 2 | a | b\r\n3 | /q/ | y.gif |  | \r\n; add a.jpg|48 X 64; open two.vtl; click cmdLoad", {"rows: /p/x.jpg|1 X 2|a | b, /q/y.gif|", "label: L/two.vtl", "File: L/two.vtl", "dialogs: open( Vantelo Files (*.vtl))", "preview: 204,36 125x145"});
        row("load of none", "", "write none.vtl  0 \r\n" + badRow + "; add a.jpg|48 X 64; open none.vtl; click cmdLoad", {"rows: ", "File: L/none.vtl"});
        row("save, then load", "", old + "open old.vtl; click cmdLoad", {"rows: P/a.jpg|48 X 64", "dialogs: save( Vantelo Files (*.vtl)), open(L/old.vtl Vantelo Files (*.vtl))"});
        row("save cancelled", "", old + "click cmdSave", unchanged + QStringList{"dialogs: save( Vantelo Files (*.vtl)), save(L/old.vtl Vantelo Files (*.vtl))"});
        row("load cancelled", "", old + "click cmdLoad", unchanged);
        row("save to a folder's name", "", old + "save .; click cmdSave", QStringList{reported(75, "Path/File access error")} + unchanged);
        row("save to a missing folder", "", old + "save no/such.vtl; click cmdSave", QStringList{reported(76, "Path not found")} + unchanged);
        row("load of a file gone", "", old + "open gone; click cmdLoad", QStringList{reported(53, "File not found")} + unchanged);
        row("load, fewer rows than counted", "", old + "write bad  3 \r\n" + badRow + "; open bad; click cmdLoad", {reported(62, "Input past end of file"), unchanged[2], unchanged[3], unchanged[4]});
        row("load, a row cut short", "", old + "write bad  2 \r\n" + badRow + "2 | /p/ | y.jpg\r\n; open bad; click cmdLoad", {reported(5, "Invalid procedure call or argument"), unchanged[2], unchanged[4]});
        row("load, count beyond 16 bits", "", old + "write bad  40000 \r\n" + badRow + "; open bad; click cmdLoad", {reported(6, "Overflow"), unchanged[2], unchanged[3], unchanged[4]});
        // the demonstrations; only the setting "File" counts, not the file
        row("no list saved", "", three + "status /a.jpg; start; click cmdDemoLG", {warned("No Image File saved for Vantelo") + ", ! Personal Vantelo Creator: No Image File saved for Vantelo", "demo: idle", "panels: /a.jpg|/a.jpg|/a.jpg", "shows: "});
        row("the first slide at the click", saved, three + "status old; start", {"demo: running", "panels: ||", "caption: a.jpg", "preview: 177.833,44 177.333x133 red|blue", "timer: 5000 on"});
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
        // clang-format on
    }
    void scenarios()
    {
        QFETCH(QString, stored);
        QFETCH(QString, steps);
        QFETCH(QStringList, seen);
        test::storeSettings(stored.replace(u"=L"_qs, u'=' + m_lists.filePath(u"gone.vtl"_qs)).split(u"; "_qs));
        Window w(m_pics.path());
        for (const QString& step : steps.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
            const QString verb = step.section(u' ', 0, 0);
            QVERIFY2(m_steps.contains(verb), qPrintable(step));
            m_steps[verb](w, step.section(u' ', 1));
            if (verb == u"file" || verb == u"row") // a click chooses, then is reported
                verb == u"file" ? emit w.files()->itemClicked(w.files()->currentItem())
                                : emit w.list()->itemClicked(w.list()->currentItem(), 1);
            if (verb == u"start" || verb == u"tick")
                w.slides << w.text("lblPicName");
        }
        if (!seen.first().startsWith(u"said: "_qs))
            seen.prepend(QStringLiteral("said: "));
        QStringList observed;
        for (const QString& expected : seen)
            observed << expected.section(QStringLiteral(": "), 0, 0) + QStringLiteral(": ") +
                            look(w, expected.section(QStringLiteral(": "), 0, 0));
        QCOMPARE(observed, seen);
    }
};

VANTELO_TEST_MAIN(TestConfigWindow)
#include "tst_config.moc"

#include "config/Vantelo.h"

#include "about/frmAbout.h"
#include "common/Numbers.h"
#include "config/BrowserLists.h"
#include "config/KeyPressFilter.h"
#include "config/ListFocus.h"
#include "config/PathLabel.h"
#include "config/PreviewFitting.h"
#include "config/RowAdding.h"
#include "config/SlideListView.h"
#include "config/StatusBar.h"
#include "config/VanteloLayout.h"
#include "config/WindowTimer.h"
#include "settings/Settings.h"
#include "show/ImageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>
#include <QValidator>

#include <algorithm>
#include <type_traits>

namespace vantelo {
namespace {

// The typed length limit of the delay box. QLineEdit's own maximum length would also cut a longer
// text that the program puts in, and then the box and the timer would disagree about the delay.
class TypedLengthLimit : public QValidator
{
public:
    TypedLengthLimit(int maximum, QObject* parent) : QValidator(parent), m_maximum(maximum) {}
    State validate(QString& input, int&) const override { return input.size() <= m_maximum ? Acceptable : Invalid; }

private:
    int m_maximum;
};

QFont timesNewRoman(qreal pointSize)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(pointSize);
    return font;
}

// The design gives the order options 13 pixels of height, and the style's round indicator needs all
// of them: on a scaled screen its outline lands partly on the 14th and is cut off. One pixel less
// keeps it whole at every scale.
class OptionStyle : public QProxyStyle
{
public:
    explicit OptionStyle(QObject* owner) : QProxyStyle(QApplication::style()->name()) { setParent(owner); }
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        if (metric == PM_ExclusiveIndicatorWidth || metric == PM_ExclusiveIndicatorHeight)
            return std::min(size, 12);
        return size;
    }
};

// A control of the design table: named, placed, captioned and described as the table says.
template <typename Control> Control* makeControl(QWidget* parent, std::string_view name, int index = -1)
{
    const layout::ControlSpec& design = layout::control(name, index);
    auto* control = new Control(parent);
    QString objectName = layout::designText(design.name);
    if (design.index >= 0)
        objectName += u'(' + QString::number(design.index) + u')';
    control->setObjectName(objectName);
    control->setGeometry(design.rect);
    if (!design.tooltip.empty())
        control->setToolTip(layout::designText(design.tooltip));
    if (!design.spokenName.empty()) {
        control->setAccessibleName(layout::designText(design.spokenName));
        // Where screen readers talk over AT-SPI, Qt names a combo box after the entry it shows: what
        // the box is for comes from a label that names it as its buddy, here one never shown.
        if constexpr (std::is_base_of_v<QComboBox, Control>) {
            auto* label = new QLabel(control->accessibleName(), parent);
            label->setBuddy(control);
            label->hide();
            control->view()->setAccessibleName(control->accessibleName());
        }
    }
    if constexpr (std::is_base_of_v<QAbstractButton, Control>)
        control->setText(layout::designText(design.caption));
    // Enter or Return on a focused button presses it, as Space does; outside a dialog Qt's buttons
    // would take only Space.
    if constexpr (std::is_same_v<QPushButton, Control>)
        control->setAutoDefault(true);
    return control;
}

// The folder column is kept with the row and never shown. "Name" fits a camera's usual file names,
// "Size" the largest size a picture can have, and "Color", which no row fills, what width is left
// (at least its heading); a longer name is read by scrolling sideways.
void sizeSlideColumns(QTreeWidget& list)
{
    const QFontMetrics metrics(list.font());
    const int cellPadding = 2 * (list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1);
    const int headerPadding = 2 * list.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &list);
    const auto fit = [&](const QString& text, int padding) { return metrics.horizontalAdvance(text) + padding; };
    const int nameWidth =
        std::max({fit(QStringLiteral("DSC01234.JPG"), cellPadding), fit(QStringLiteral("IMG_0001.JPG"), cellPadding),
                  fit(QStringLiteral("Name"), headerPadding)});
    const int sizeWidth = fit(QStringLiteral("65535 X 65535"), cellPadding);
    const int visible = list.width() - 2 * list.frameWidth();
    list.setColumnWidth(0, 0);
    list.setColumnWidth(1, nameWidth);
    list.setColumnWidth(2, sizeWidth);
    list.setColumnWidth(3, std::max(visible - nameWidth - sizeWidth, fit(QStringLiteral("Color"), headerPadding)));
}

// The stored delay in whole seconds. A text that is no usable delay (emptied by an exit with an
// empty box, or edited by hand) falls back to the default rather than keep the window from opening.
std::int16_t storedDelay()
{
    try {
        const std::int16_t delay = textToInt16(GetSetting(SettingKey::Delay));
        if (delay >= 0)
            return delay;
    } catch (const AppError&) {
    }
    return textToInt16(SettingKey::Delay.readerDefault);
}

// The stored background colour; black when the stored text is no number.
std::int32_t storedBackColor()
{
    try {
        return textToInt32(GetSetting(SettingKey::BackColor));
    } catch (const AppError&) {
        return 0;
    }
}

} // namespace

Vantelo::Vantelo(Platform& platform, QWidget* parent)
    // A window of fixed size asks the window manager for no maximise button: it would do nothing.
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_platform(platform), m_listJobs(*this, [this] { CancelListJob(); }), m_demoSequence(platform.random)
{
    setWindowTitle(layout::designText(layout::WindowCaption));
    setFixedSize(layout::ClientWidth, layout::ClientHeight);
    CreateControls();
    ConnectHandlers();
}

Vantelo::~Vantelo() = default;

void Vantelo::CreateControls()
{
    QFont font = this->font();
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    setFont(font);

    // Image boxes first: they lie beneath the other controls, so a very wide picture passes under them.
    imgPreview = makeControl<ImageBox>(this, "imgPreview");
    imgPreview->setBox(DefaultPreviewBox);
    imgTemp = makeControl<ImageBox>(this, "imgTemp");
    imgTemp->hide();

    // A plain etched frame: a group box would draw its border lower and further in, leaving room for a
    // title this frame does not have.
    fraDirectory = makeControl<QFrame>(this, "fraDirectory");
    fraDirectory->setFrameStyle(QFrame::Box | QFrame::Sunken);
    fraDirectory->setAutoFillBackground(true); // a frame hides what lies beneath it, a wide preview too
    DriveList = makeControl<DriveListBox>(fraDirectory, "DriveList");
    DirList = makeControl<DirListBox>(fraDirectory, "DirList");
    cboFiletype = makeControl<QComboBox>(fraDirectory, "cboFiletype");
    FileList = makeControl<FileListBox>(fraDirectory, "FileList");

    lblPicName = makeControl<QLabel>(this, "lblPicName");
    lblPicName->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblPicName->setFont(timesNewRoman(8.25));

    cmdDemoSM = makeControl<QPushButton>(this, "cmdDemoSM");
    cmdDemoLG = makeControl<QPushButton>(this, "cmdDemoLG");
    cmdColor = makeControl<QPushButton>(this, "cmdColor");
    for (int index = 0; index < int(cmdPicture.size()); ++index)
        cmdPicture[size_t(index)] = makeControl<QPushButton>(this, "cmdPicture", index);

    lvwMain = makeControl<SlideListBox>(this, "lvwMain");
    lvwMain->setFont(timesNewRoman(8.25));
    lvwMain->setColumnCount(4);
    lvwMain->setHeaderLabels({QString(), QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Color")});
    lvwMain->header()->setMinimumSectionSize(0);
    // The folder column stays closed: its header edge is not to be dragged open.
    lvwMain->header()->setSectionResizeMode(0, QHeaderView::Fixed);
    lvwMain->header()->setStretchLastSection(false);
    sizeSlideColumns(*lvwMain);
    lvwMain->setRootIsDecorated(false);
    lvwMain->setUniformRowHeights(true);
    lvwMain->setSortingEnabled(false);
    lvwMain->setSelectionMode(QAbstractItemView::ExtendedSelection);

    for (QAbstractItemView* list : std::initializer_list<QAbstractItemView*>{DirList, FileList, lvwMain})
        showFocusWhenEmpty(*list);

    lblFileName = makeControl<PathLabel>(this, "lblFileName");
    lblFileName->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblFileName->setFont(timesNewRoman(8.25));

    txtTimer = makeControl<QLineEdit>(this, "txtTimer");
    txtTimer->setAlignment(Qt::AlignCenter);
    txtTimer->setFont(timesNewRoman(12));
    txtTimer->setValidator(new TypedLengthLimit(2, txtTimer));
    cmdTimer = makeControl<QPushButton>(this, "cmdTimer");
    auto* optionStyle = new OptionStyle(this);
    for (int index = 0; index < int(optShowStyle.size()); ++index) {
        optShowStyle[size_t(index)] = makeControl<QRadioButton>(this, "optShowStyle", index);
        optShowStyle[size_t(index)]->setStyle(optionStyle);
    }

    cmdSave = makeControl<QPushButton>(this, "cmdSave");
    cmdLoad = makeControl<QPushButton>(this, "cmdLoad");
    cmdExit = makeControl<QPushButton>(this, "cmdExit");
    stbVantelo = makeControl<StatusBar>(this, "stbVantelo");

    Timer1 = new WindowTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    // The browser starts where the process stands (a folder deleted under it leaves home, then the root).
    DirList->setPath(QDir::currentPath(), {QDir::homePath(), QDir::rootPath()});
}

void Vantelo::ConnectHandlers()
{
    connect(DriveList, &QComboBox::currentIndexChanged, this, &Vantelo::DriveList_Change);
    connect(DirList, &DirListBox::change, this, &Vantelo::DirList_Change);
    connect(DirList, &DirListBox::driveNotReady, this, &Vantelo::DriveNotReady);
    connect(cboFiletype, &QComboBox::currentIndexChanged, this, &Vantelo::cboFiletype_Click);
    connect(FileList, &FileListBox::click, this, &Vantelo::FileList_Click);
    for (int index = 0; index < int(optShowStyle.size()); ++index) {
        connect(optShowStyle[size_t(index)], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                optShowStyle_Click(index);
        });
    }
    connect(stbVantelo, &StatusBar::panelClick, this, &Vantelo::stbVantelo_PanelClick);

    for (int index = 0; index < int(cmdPicture.size()); ++index)
        connect(cmdPicture[size_t(index)], &QPushButton::clicked, this, [this, index] { cmdPicture_Click(index); });
    // A click or double-click on the list's empty area names no row, so only clicks on rows count.
    connect(lvwMain, &QTreeWidget::itemClicked, this, &Vantelo::lvwMain_Click);
    connect(lvwMain, &QTreeWidget::itemDoubleClicked, this, &Vantelo::lvwMain_DblClick);
    connect(lvwMain, &SlideListBox::filesDropped, this, &Vantelo::lvwMain_DropFiles);
    connect(FileList, &QListWidget::itemDoubleClicked, this, &Vantelo::FileList_DblClick);
    connect(cmdSave, &QPushButton::clicked, this, &Vantelo::cmdSave_Click);
    connect(cmdLoad, &QPushButton::clicked, this, &Vantelo::cmdLoad_Click);

    txtTimer->installEventFilter(new KeyPressFilter(txtTimer, [this](int& KeyAscii) { txtTimer_KeyPress(KeyAscii); }));
    connect(cmdTimer, &QPushButton::clicked, this, &Vantelo::cmdTimer_Click);
    connect(cmdColor, &QPushButton::clicked, this, &Vantelo::cmdColor_Click);
    connect(cmdExit, &QPushButton::clicked, this, &Vantelo::cmdExit_Click);

    connect(cmdDemoSM, &QPushButton::clicked, this, &Vantelo::cmdDemoSM_Click);
    connect(cmdDemoLG, &QPushButton::clicked, this, &Vantelo::cmdDemoLG_Click);
    connect(Timer1, &WindowTimer::timeout, this, &Vantelo::Timer1_Timer);
    connect(&m_demoReader, &SlideReader::answered, this, [this] { ShowArrivedDemoSlide(false); });
    connect(imgPreview, &ImageBox::clicked, this, &Vantelo::imgPreview_Click);
}

void Vantelo::Form_Load()
{
    // The show fits its pictures to the work area recorded here, every time this window opens.
    Trapped([&] {
        const QRect workArea = m_platform.screen.workArea();
        SaveSetting(SettingKey::ScreenWidth, QString::number(checkedInt16(workArea.width())));
        SaveSetting(SettingKey::ScreenHeight, QString::number(checkedInt16(workArea.height())));
    });

    ShowDefaultPicture();

    // Nothing in this window takes the colour; it is kept for saving at exit.
    lngBackColor = storedBackColor();

    txtTimer->setText(QString::number(storedDelay()));
    Trapped([&] {
        Timer1->setEnabled(false);
        Timer1->setInterval(roundToInt32(numericValue(txtTimer->text()) * 1000.0));
    });

    // Only the exact words switch a button on; the switch writes the order back through its click.
    const QString showType = GetSetting(SettingKey::ShowType);
    if (showType == OrderedShowType)
        optShowStyle[0]->setChecked(true);
    else if (showType == RandomShowType)
        optShowStyle[1]->setChecked(true);

    {
        const QSignalBlocker filling(cboFiletype);
        cboFiletype->clear();
        cboFiletype->addItems({QStringLiteral("*.jpg"), QStringLiteral("*.bmp"), QStringLiteral("*.gif")});
        cboFiletype->setCurrentIndex(-1);
    }
    cboFiletype->setCurrentIndex(0);
}

void Vantelo::optShowStyle_Click(int Index)
{
    Trapped([&] {
        if (Index == 0)
            SaveSetting(SettingKey::ShowType, OrderedShowType);
        else if (Index == 1)
            SaveSetting(SettingKey::ShowType, RandomShowType);
    });
}

void Vantelo::stbVantelo_PanelClick(int panel)
{
    // Panel 1 belongs to the About box; the other panels ignore clicks.
    openAboutForPanel(panel, this, m_platform);
}

void Vantelo::ReportError(const AppError& error)
{
    m_platform.prompter.showMessage(this, MessageIcon::None, windowTitle(), errorReportText(error));
}

} // namespace vantelo

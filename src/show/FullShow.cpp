#include "show/FullShow.h"

#include "common/AppError.h"
#include "common/Numbers.h"
#include "common/SizeText.h"
#include "settings/Settings.h"
#include "show/ImageBox.h"
#include "show/MonitorShow.h"
#include "show/ShowGeometry.h"
#include "slidelist/SlideListFile.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QTimer>

#include <algorithm>

namespace vantelo {
namespace {

const QString MissingListText = QStringLiteral("File has been Modified or Deleted, Check Settings!");
const QString EmptyListText = QStringLiteral("No Images in the list to be displayed");

} // namespace

FullShow::FullShow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_platform(platform),
      imgShow(new ImageBox(this)), Timer1(new QTimer(this)), m_sequence(platform.random)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Personal Vantelo"));
    setAutoFillBackground(true);
    // Without tracking, Qt would never tell us about a move with no button held.
    setMouseTracking(true);
    imgShow->setObjectName(QStringLiteral("imgShow"));
    imgShow->hide();
    Timer1->setObjectName(QStringLiteral("Timer1"));
    // A coarse timer may come 5% early: seconds between slides are to be seconds.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &FullShow::Timer1_Timer);
    connect(imgShow, &ImageBox::clicked, this, &FullShow::imgShow_Click);
    connect(imgShow, &ImageBox::pointerMoved, this, &FullShow::pictureBoxPointerMoved);
    connect(&m_reader, &SlideReader::answered, this, [this] { showArrivedSlide(false); });
    // The window covers the screen (and the other monitors) from the start, so even a load that
    // fails before it gets to sizing the window leaves every monitor covered.
    followMonitors();
    // Monitors plugged in or out while the show runs are covered, or given up, at once.
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &FullShow::followMonitors);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &FullShow::followMonitors);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &FullShow::followMonitors);
}

FullShow::~FullShow() = default;

void FullShow::setHosted(bool hosted)
{
    if (hosted == m_hosted)
        return;
    m_hosted = hosted;
    // Staying on top is for a window of our own; the host stacks its window as it sees fit.
    setWindowFlag(Qt::WindowStaysOnTopHint, !hosted);
    followMonitors();
}

void FullShow::Form_Load()
{
    try {
        resetFields();
        Timer1->stop();
        if (m_hosted) {
            // The recorded work area belongs to a screen; the host's window may be anything from a
            // small preview to a whole screen, so the pictures fit the window they are shown in.
            fitToHost(m_platform.screen.workArea().size());
        } else {
            intScreenWidth = textToInt16(GetSetting(SettingKey::ScreenWidth));
            intScreenHeight = textToInt16(GetSetting(SettingKey::ScreenHeight));
        }
        const std::int16_t delay = textToInt16(GetSetting(SettingKey::Delay));
        m_interval = delay * 1000;
        setBackColor(textToInt32(GetSetting(SettingKey::BackColor)));
        // "Random" and any text but the exact word "Ordered" mean random order.
        m_sequence.setOrdered(GetSetting(SettingKey::ShowType) == OrderedShowType);
        setCursor(Qt::CrossCursor);
        coverScreen();
        const QString path = GetSetting(SettingKey::File);
        if (path.isEmpty())
            return;
        // In random order the first slide's draw is made now, so that the list's reading thread can
        // start on the very picture the first tick will pick.
        if (!m_sequence.isOrdered())
            m_firstDraw = m_platform.random.reseedAndDraw();
        m_listReading = readShowStart(path, {m_sequence.isOrdered(), m_startOffset, m_firstDraw, intScreenWidth,
                                             intScreenHeight, devicePixelRatioF()});
        m_listReading.onAnswer([this] { listArrived(); });
    } catch (...) {
        reportLoadFailure(currentFailure());
    }
}

void FullShow::listArrived()
{
    ShowStart start;
    try {
        start = m_listReading.take();
    } catch (...) {
        reportLoadFailure(currentFailure());
        return;
    }
    lvwMain = std::move(start.rows);
    if (start.firstSlide)
        m_reader.adopt(*start.firstSlide, std::move(start.firstPicture));
    m_sequence.restart(std::exchange(m_firstDraw, std::nullopt));
    if (!lvwMain.isEmpty())
        m_sequence.startAt(static_cast<std::int16_t>(m_startOffset % lvwMain.size() + 1));
    startMonitors(1);
    enableTimer1();
    Timer1_Timer();
}

void FullShow::ShowBackgroundOnly()
{
    resetFields();
    Timer1->stop();
    try {
        setBackColor(textToInt32(GetSetting(SettingKey::BackColor)));
    } catch (...) {
        setBackColor(0);
    }
}

void FullShow::Timer1_Timer()
{
    // A tick that comes while a report waits for its OK is let go, so reports never pile up.
    if (m_reporting)
        return;
    if (m_pending) {
        // Slow but coming: shown when it comes, and the slide after it a whole interval later.
        if (m_reader.isComing(m_pending->asked))
            return;
        // Its storage has not answered since the last tick: this row is given up for the next.
        m_pending.reset();
    }
    try {
        askNextSlide();
    } catch (...) {
        reportTickFailure(currentFailure());
        prepareFollowingSlide();
    }
    showArrivedSlide(true);
    for (MonitorShow* monitor : m_monitors)
        monitor->showNext(lvwMain);
}

void FullShow::Form_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, int, int)
{
    unload();
}

void FullShow::Form_Click()
{
    unload();
}

void FullShow::imgShow_Click()
{
    unload();
}

void FullShow::imgShow_MouseMove()
{
    unload();
}

void FullShow::showEvent(QShowEvent* event)
{
    m_pointer = QCursor::pos();
    QWidget::showEvent(event);
    for (MonitorShow* monitor : m_monitors)
        monitor->show();
}

void FullShow::closeEvent(QCloseEvent* event)
{
    Timer1->stop();
    m_listReading.drop();
    m_pending.reset();
    m_reader.keepOnly({});
    for (MonitorShow* monitor : m_monitors)
        monitor->hide();
    QWidget::closeEvent(event);
}

void FullShow::mouseMoveEvent(QMouseEvent* event)
{
    if (pointerReallyMoved(event->globalPosition().toPoint())) {
        const QPoint at = event->position().toPoint();
        Form_MouseMove(event->buttons(), event->modifiers(), at.x(), at.y());
    }
}

void FullShow::mouseReleaseEvent(QMouseEvent*)
{
    Form_Click();
}

void FullShow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_hosted || event->size() == QSize(intScreenWidth, intScreenHeight))
        return;
    fitToHost(event->size());
    if (!m_shownSize || imgShow->isHidden())
        return;
    // The slide on screen is stretched to its new box at once; the next one is decoded to fit.
    try {
        imgShow->setGeometry(slideBox(intScreenWidth, intScreenHeight, *m_shownSize));
    } catch (...) {
        reportTickFailure(currentFailure());
    }
}

void FullShow::resetFields()
{
    lvwMain.clear();
    intScreenWidth = intScreenHeight = 0;
    m_sequence.setOrdered(false);
    m_sequence.restart();
    m_interval = 0;
    m_shownSize.reset();
    m_pending.reset();
    m_firstDraw.reset();
}

void FullShow::coverScreen()
{
    // Without a window manager the full-screen state alone can leave a small window.
    setWindowState(m_hosted ? windowState() & ~Qt::WindowFullScreen : windowState() | Qt::WindowFullScreen);
    setGeometry(m_platform.screen.screenGeometry());
}

void FullShow::fitToHost(QSize size)
{
    intScreenWidth = showLength(size.width());
    intScreenHeight = showLength(size.height());
}

void FullShow::setBackColor(std::int32_t colorValue)
{
    QPalette colors = palette();
    colors.setColor(QPalette::Window, QColor(colorValue & 0xFF, (colorValue >> 8) & 0xFF, (colorValue >> 16) & 0xFF));
    setPalette(colors);
}

void FullShow::enableTimer1()
{
    // Qt would fire an interval of 0 continuously; here it means the first slide stays.
    if (m_interval <= 0)
        return;
    Timer1->setInterval(m_interval);
    Timer1->start();
}

void FullShow::askNextSlide()
{
    const SlideRow& row = lvwMain[m_sequence.next(lvwMain.size()) - 1];
    PendingSlide pending{{}, readSizeText(row.sizeText), {}, {}};
    imgShow->hide();
    m_shownSize.reset();
    // The picture is decoded straight to the size of its box, so the box is worked out first; but a
    // picture that cannot be loaded is the failure the user hears about, before a bad size text.
    try {
        pending.box = slideBox(intScreenWidth, intScreenHeight, pending.size);
    } catch (const AppError& error) {
        pending.boxFailure = error;
    }
    pending.asked = {row.fullPath(),
                     pending.box ? decodeSizeFor(pending.box->size(), devicePixelRatioF()) : QSize(1, 1)};
    m_reader.keepOnly({pending.asked});
    m_reader.ask(pending.asked);
    m_pending = std::move(pending);
}

void FullShow::showArrivedSlide(bool inTick)
{
    if (!m_pending)
        return;
    try {
        std::optional<QImage> picture = m_reader.take(m_pending->asked);
        if (!picture)
            return;
        const PendingSlide slide = *std::exchange(m_pending, std::nullopt);
        if (slide.boxFailure)
            throw *slide.boxFailure;
        picture->setDevicePixelRatio(devicePixelRatioF());
        imgShow->setPicture(std::move(*picture));
        imgShow->setGeometry(*slide.box);
        imgShow->show();
        m_shownSize = slide.size;
        emit slideShown();
        // Shown later than its tick: the next slide still gets its whole delay.
        if (!inTick && Timer1->isActive())
            Timer1->start();
    } catch (...) {
        m_pending.reset();
        reportTickFailure(currentFailure());
    }
    prepareFollowingSlide();
}

void FullShow::prepareFollowingSlide()
{
    if (!Timer1->isActive())
        return;
    // Only the reading is done ahead. The next tick still makes every decision again and reports
    // whatever fails; it just finds its picture ready.
    try {
        const std::optional<std::int16_t> position = m_sequence.upcoming(lvwMain.size());
        if (!position)
            return;
        const SlideRow& row = lvwMain[*position - 1];
        const QRect box = slideBox(intScreenWidth, intScreenHeight, readSizeText(row.sizeText));
        const SlideAsked next{row.fullPath(), decodeSizeFor(box.size(), devicePixelRatioF())};
        m_reader.keepOnly({next});
        m_reader.ask(next);
    } catch (...) {
        // Left for the tick that shows this row, which reports it.
    }
}

void FullShow::reportLoadFailure(const AppError& error)
{
    if (error.number() == ErrorNumber::FileNotFound)
        report(MessageIcon::Exclamation, MissingListText);
    else
        report(MessageIcon::None, errorReportText(error));
}

void FullShow::reportTickFailure(const AppError& error)
{
    if (error.number() == ErrorNumber::IndexOutOfBounds)
        report(MessageIcon::Exclamation, EmptyListText);
    else
        report(MessageIcon::None, errorReportText(error));
}

void FullShow::report(MessageIcon icon, const QString& text)
{
    m_reporting = true;
    m_platform.prompter.showMessage(this, icon, windowTitle(), text);
    m_reporting = false;
    // The pointer moved to answer the report; only a movement after it ends the show.
    m_pointer = QCursor::pos();
}

bool FullShow::pointerReallyMoved(QPoint globalPosition)
{
    // Qt also reports a "move" when the window appears under a still pointer, or when something
    // shown or hidden under it changes what the pointer is over: only a change of place counts.
    const bool moved = !m_pointer || *m_pointer != globalPosition;
    m_pointer = globalPosition;
    return moved;
}

void FullShow::pictureBoxPointerMoved(QPoint globalPosition)
{
    if (pointerReallyMoved(globalPosition))
        imgShow_MouseMove();
}

void FullShow::followMonitors()
{
    qDeleteAll(std::exchange(m_monitors, {}));
    coverScreen();
    // A host lends one window on one monitor, and runs a show of its own on each of the others.
    if (m_hosted)
        return;
    const QList<QRect> monitors = m_platform.screen.monitors();
    for (qsizetype index = 1; index < monitors.size(); ++index) {
        auto* monitor = new MonitorShow(m_platform.random, monitors[index], this);
        monitor->setObjectName(QStringLiteral("monitor%1").arg(index));
        connect(monitor, &MonitorShow::pointerMoved, this, &FullShow::monitorPointerMoved);
        connect(monitor, &MonitorShow::clicked, this, &FullShow::Form_Click);
        m_monitors.append(monitor);
    }
    if (lvwMain.isEmpty())
        return;
    // Joined while the show runs: the row on the show's own monitor is the one before its next.
    startMonitors(m_sequence.nextPosition() > 1 ? m_sequence.nextPosition() - 1 : lvwMain.size());
    for (MonitorShow* monitor : m_monitors) {
        monitor->showNext(lvwMain);
        if (isVisible())
            monitor->show();
    }
}

void FullShow::startMonitors(qsizetype mainRow)
{
    // In list order each further monitor shows a row further along than the one before it, so that
    // neighbours differ.
    const qsizetype rows = std::max<qsizetype>(lvwMain.size(), 1);
    for (qsizetype index = 0; index < m_monitors.size(); ++index) {
        const auto first = static_cast<std::int16_t>((mainRow + index) % rows + 1);
        m_monitors[index]->start(m_sequence.isOrdered(), first);
    }
}

void FullShow::monitorPointerMoved(QPoint globalPosition)
{
    if (pointerReallyMoved(globalPosition)) {
        const QPoint at = mapFromGlobal(globalPosition);
        Form_MouseMove(QGuiApplication::mouseButtons(), QGuiApplication::keyboardModifiers(), at.x(), at.y());
    }
}

void FullShow::unload()
{
    // A host's window is the host's to end: it owns the input and stops the show itself.
    if (m_hosted)
        return;
    Timer1->stop();
    close();
}

} // namespace vantelo

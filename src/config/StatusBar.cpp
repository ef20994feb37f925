#include "config/StatusBar.h"

#include "common/AppError.h"
#include "config/VanteloLayout.h"

#include <QDateTime>
#include <QLocale>
#include <QMouseEvent>
#include <QRegularExpression>

namespace vantelo {
namespace {

// The locale's short time without seconds (some locales' short form has them): the panel is
// refreshed once a minute.
QString minutesFormat(const QLocale& locale)
{
    static const QRegularExpression seconds(QStringLiteral("[:.]ss?"));
    return locale.timeFormat(QLocale::ShortFormat).remove(seconds);
}

} // namespace

StatusBar::StatusBar(QWidget* parent) : QWidget(parent)
{
    int left = 0;
    for (const layout::PanelSpec& design : layout::StatusPanels) {
        auto* panel = new QLabel(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setIndent(3);
        panel->setToolTip(QString::fromUtf8(design.tooltip.data(), qsizetype(design.tooltip.size())));
        panel->setAccessibleName(panel->toolTip());
        panel->setGeometry(left, 2, design.width, layout::control("stbVantelo").rect.height() - 4);
        panel->installEventFilter(this);
        if (design.kind != layout::PanelKind::Text)
            panel->setAlignment(Qt::AlignCenter);
        left += design.width;
        m_panels.append(panel);
    }
    m_clock.setSingleShot(true);
    connect(&m_clock, &QTimer::timeout, this, &StatusBar::showClock);
    showClock();
}

QLabel* StatusBar::panelAt(int panel) const
{
    if (panel < 1 || panel > panelCount())
        throw AppError(ErrorNumber::IndexOutOfBounds);
    return m_panels.at(panel - 1);
}

QString StatusBar::panelText(int panel) const
{
    return panelAt(panel)->text();
}

void StatusBar::setPanelText(int panel, const QString& text)
{
    showInPanel(panelAt(panel), text);
}

QString StatusBar::panelToolTip(int panel) const
{
    return panelAt(panel)->toolTip();
}

QRect StatusBar::panelRect(int panel) const
{
    return panelAt(panel)->geometry();
}

bool StatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const qsizetype index = m_panels.indexOf(static_cast<QLabel*>(watched));
        if (index >= 0 && mouse->button() == Qt::LeftButton &&
            m_panels.at(index)->rect().contains(mouse->position().toPoint())) {
            emit panelClick(int(index) + 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void StatusBar::showInPanel(QLabel* panel, const QString& text)
{
    panel->setText(text);
    // A screen reader says what the panel is, then what it holds: "Image Path: /home/...".
    panel->setAccessibleName(text.isEmpty() ? panel->toolTip() : panel->toolTip() + QStringLiteral(": ") + text);
}

void StatusBar::showClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    for (qsizetype i = 0; i < m_panels.size(); ++i) {
        if (layout::StatusPanels.at(size_t(i)).kind == layout::PanelKind::Date)
            showInPanel(m_panels.at(i), locale.toString(now.date(), QLocale::ShortFormat));
        else if (layout::StatusPanels.at(size_t(i)).kind == layout::PanelKind::Time)
            showInPanel(m_panels.at(i), locale.toString(now.time(), minutesFormat(locale)));
    }
    // Wake just after the next minute begins, which is also when a new day begins.
    const int intoMinute = now.time().second() * 1000 + now.time().msec();
    m_clock.start(60000 - intoMinute + 50);
}

} // namespace vantelo

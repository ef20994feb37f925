#include "config/WindowTimer.h"

namespace vantelo {

WindowTimer::WindowTimer(QObject* parent) : QObject(parent)
{
    // A coarse timer may come 5% early: seconds between slides are to be seconds.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &WindowTimer::timeout);
}

void WindowTimer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    apply();
}

void WindowTimer::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    apply();
}

void WindowTimer::apply()
{
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

} // namespace vantelo

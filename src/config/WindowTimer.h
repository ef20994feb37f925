#pragma once

#include <QObject>
#include <QTimer>

namespace vantelo {

// A window timer: ticks every interval milliseconds while enabled. An interval of 0 (or less) means
// it never ticks, even when enabled; a plain QTimer would fire as fast as it could. Enabling it, or
// changing the interval while it is enabled, starts a fresh interval.
class WindowTimer : public QObject
{
    Q_OBJECT
public:
    explicit WindowTimer(QObject* parent = nullptr);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    int interval() const { return m_interval; }
    void setInterval(int milliseconds);

    // Whether ticks will come: enabled with an interval above 0.
    bool isActive() const { return m_timer.isActive(); }

signals:
    void timeout();

private:
    void apply();

    QTimer m_timer;
    bool m_enabled = false;
    int m_interval = 0;
};

} // namespace vantelo

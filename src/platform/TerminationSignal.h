#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace vantelo {

// Hears SIGTERM, the request to end that screen-saver hosts and session managers send, and passes
// it on as a Qt signal on the user-interface thread, so the program can leave its event loop and
// end as it always does: windows closed, instance lock released. One at a time; while one exists
// SIGTERM no longer ends the process by itself. Does nothing where there are no such signals.
class TerminationSignal : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

signals:
    void received();

private:
    void readSignal();

    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace vantelo

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <utility>

class QProgressDialog;
class QWidget;

// Work on the slide list that waits for storage: adding measured rows, loading a list, saving one.
// Jobs run one at a time, in the order they were asked, so that each lands on the list as the steps
// before it left it. While any runs or waits the window shows the busy pointer, and one that runs
// longer than about a second shows its progress in Qt's progress dialog, whose Cancel ends it. The
// dialog leaves the window free: browsing and previewing go on meanwhile.
namespace vantelo {

inline constexpr std::chrono::milliseconds ProgressDelay{1000};

class ListJobs : public QObject
{
    Q_OBJECT
public:
    // cancel stops the running job's work, whichever it is, when the user cancels it.
    ListJobs(QWidget& window, std::function<void()> cancel);
    ~ListJobs() override;
    ListJobs(const ListJobs&) = delete;
    ListJobs& operator=(const ListJobs&) = delete;

    // start begins a job's work once every job asked before it is done; the work then tells how far it
    // is with progress() and ends with done(). label says what it does, in the progress dialog.
    void run(const QString& label, std::function<void()> start);
    // How far the running job is: done steps of total; a total of 0 while it is not known.
    void progress(int done, int total);
    // The running job is done. then (a report of its failure) runs before the next job starts.
    void done(const std::function<void()>& then = {});
    bool idle() const { return !m_running && m_waiting.empty(); }

private:
    void startNext();
    void showProgress();
    void closeProgress();

    QWidget& m_window;
    std::function<void()> m_cancel;
    std::deque<std::pair<QString, std::function<void()>>> m_waiting;
    bool m_running = false;
    QString m_label;
    int m_done = 0;
    int m_total = 0;
    QTimer m_progressDelay;
    QPointer<QProgressDialog> m_dialog;
};

} // namespace vantelo

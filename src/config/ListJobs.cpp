#include "config/ListJobs.h"

#include <QProgressDialog>
#include <QWidget>

namespace vantelo {

ListJobs::ListJobs(QWidget& window, std::function<void()> cancel) : m_window(window), m_cancel(std::move(cancel))
{
    m_progressDelay.setSingleShot(true);
    m_progressDelay.setInterval(ProgressDelay);
    connect(&m_progressDelay, &QTimer::timeout, this, &ListJobs::showProgress);
}

ListJobs::~ListJobs()
{
    delete m_dialog.data();
}

void ListJobs::run(const QString& label, std::function<void()> start)
{
    m_waiting.emplace_back(label, std::move(start));
    m_window.setCursor(Qt::BusyCursor);
    startNext();
}

void ListJobs::startNext()
{
    if (m_running || m_waiting.empty())
        return;
    auto [label, start] = std::move(m_waiting.front());
    m_waiting.pop_front();
    m_running = true;
    m_label = label;
    m_done = m_total = 0;
    m_progressDelay.start();
    start();
}

void ListJobs::progress(int done, int total)
{
    m_done = done;
    m_total = total;
    if (m_dialog) {
        m_dialog->setMaximum(total);
        m_dialog->setValue(done);
    }
}

void ListJobs::done(const std::function<void()>& then)
{
    closeProgress();
    // Still running meanwhile: a job asked while the report is open waits its turn.
    if (then)
        then();
    m_running = false;
    if (m_waiting.empty())
        m_window.unsetCursor();
    startNext();
}

void ListJobs::showProgress()
{
    auto* dialog = new QProgressDialog(m_label, QStringLiteral("Cancel"), 0, m_total, &m_window);
    dialog->setWindowTitle(m_window.windowTitle());
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    dialog->setMinimumDuration(0);
    dialog->setValue(m_done);
    connect(dialog, &QProgressDialog::canceled, this, [this] {
        m_cancel();
        done();
    });
    m_dialog = dialog;
    dialog->show();
}

void ListJobs::closeProgress()
{
    m_progressDelay.stop();
    if (m_dialog) {
        // It may be the dialog whose Cancel is being answered.
        m_dialog->hide();
        m_dialog->deleteLater();
        m_dialog = nullptr;
    }
}

} // namespace vantelo

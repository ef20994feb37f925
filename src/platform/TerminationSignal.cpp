#include "platform/TerminationSignal.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace vantelo {

#ifdef Q_OS_UNIX

namespace {

// A signal handler may do almost nothing: it writes one byte into a socket pair, and the event
// loop reads it from the other end. The signal may come on any thread, the decoding one too.
int signalSockets[2] = {-1, -1};
struct sigaction previousAction;

extern "C" void onTerminationSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent)
{
    // Made once and never closed: a handler still running on another thread when the last
    // TerminationSignal goes may write into them, and must not meet a closed or reused descriptor.
    if (signalSockets[0] == -1) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0) {
            qWarning("Personal Vantelo: no socket pair for SIGTERM; it ends the program at once");
            signalSockets[0] = signalSockets[1] = -1;
            return;
        }
        // A full socket already holds a wake-up; the handler must never block on it.
        ::fcntl(signalSockets[0], F_SETFL, ::fcntl(signalSockets[0], F_GETFL) | O_NONBLOCK);
        ::fcntl(signalSockets[1], F_SETFL, ::fcntl(signalSockets[1], F_GETFL) | O_NONBLOCK);
    }
    m_notifier = std::make_unique<QSocketNotifier>(signalSockets[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationSignal::readSignal);

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &previousAction);
}

TerminationSignal::~TerminationSignal()
{
    if (m_notifier)
        ::sigaction(SIGTERM, &previousAction, nullptr);
}

void TerminationSignal::readSignal()
{
    // Several signals may have come: one request to end is enough.
    char bytes[16];
    if (::read(signalSockets[1], bytes, sizeof bytes) > 0)
        emit received();
}

#else

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent) {}
TerminationSignal::~TerminationSignal() = default;
void TerminationSignal::readSignal() {}

#endif

} // namespace vantelo

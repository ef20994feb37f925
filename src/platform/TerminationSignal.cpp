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
// loop reads it from the other end.
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
    Q_ASSERT(signalSockets[0] == -1);
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0) {
        qWarning("Personal Vantelo: no socket pair for SIGTERM; it ends the program at once");
        signalSockets[0] = signalSockets[1] = -1;
        return;
    }
    for (const int socket : signalSockets)
        ::fcntl(socket, F_SETFD, FD_CLOEXEC);
    // A full socket already holds a wake-up; the handler must never block on it.
    ::fcntl(signalSockets[0], F_SETFL, ::fcntl(signalSockets[0], F_GETFL) | O_NONBLOCK);
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
    if (!m_notifier)
        return;
    ::sigaction(SIGTERM, &previousAction, nullptr);
    m_notifier.reset();
    for (int& socket : signalSockets) {
        ::close(socket);
        socket = -1;
    }
}

void TerminationSignal::readSignal()
{
    char byte = 0;
    if (::read(signalSockets[1], &byte, 1) == 1)
        emit received();
}

#else

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent) {}
TerminationSignal::~TerminationSignal() = default;
void TerminationSignal::readSignal() {}

#endif

} // namespace vantelo

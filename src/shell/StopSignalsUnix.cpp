#include "shell/StopSignals.h"

#include "common/UserTexts.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace telmaris {

namespace {

constexpr std::array<int, 3> Caught{SIGTERM, SIGINT, SIGHUP};

int signalPipe[2] = {-1, -1};

// Only what is safe in a signal handler: one write, errno kept. A full pipe drops the byte:
// a stop that is already on its way needs no second one.
void onSignal(int signal) {
    const int savedErrno = errno;
    const char number = static_cast<char>(signal);
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &number, 1);
    errno = savedErrno;
}

} // namespace

StopSignals::StopSignals(QObject *parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return; // the signals keep their default action
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &StopSignals::readPipe);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : Caught)
        ::sigaction(signal, &action, nullptr);
}

StopSignals::~StopSignals() {
    if (!notifier_)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : Caught)
        ::sigaction(signal, &action, nullptr);
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void StopSignals::readPipe() {
    char number = 0;
    while (::read(signalPipe[0], &number, 1) == 1)
        Q_EMIT received(number);
}

QString StopSignals::usageLine() {
    return texts::UsageStopStatusUnix;
}

QString StopSignals::name(int signal) {
    switch (signal) {
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    default:
        return QStringLiteral("%1").arg(signal);
    }
}

void StopSignals::endBy(int signal) {
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, signal);
    ::sigprocmask(SIG_UNBLOCK, &unblocked, nullptr);
    ::raise(signal);
}

} // namespace telmaris

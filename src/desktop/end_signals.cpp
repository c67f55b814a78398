#include "desktop/end_signals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>
#endif

namespace zintrova {

#ifdef Q_OS_UNIX
namespace {

constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};
int SignalPipe[2] = {-1, -1};
struct sigaction PreviousAction[std::size(Signals)];
bool Installed[std::size(Signals)];

extern "C" void OnEndSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto n = write(SignalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace
#endif

EndSignals::EndSignals(QObject *parent) : QObject(parent)
{
#ifdef Q_OS_UNIX
    if (SignalPipe[0] >= 0 || pipe(SignalPipe) != 0) return; // one at a time
    for (int fd : SignalPipe) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); // a full pipe never blocks a handler
    }
    notifier_ = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndSignals::Drain);
    for (std::size_t i = 0; i < std::size(Signals); ++i) {
        Installed[i] = sigaction(Signals[i], nullptr, &PreviousAction[i]) == 0 &&
                       PreviousAction[i].sa_handler != SIG_IGN;
        if (!Installed[i]) continue;
        struct sigaction action {};
        action.sa_handler = OnEndSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(Signals[i], &action, nullptr);
    }
#endif
}

EndSignals::~EndSignals()
{
#ifdef Q_OS_UNIX
    if (!notifier_) return;
    for (std::size_t i = 0; i < std::size(Signals); ++i)
        if (Installed[i]) sigaction(Signals[i], &PreviousAction[i], nullptr);
    delete notifier_;
    close(SignalPipe[0]);
    close(SignalPipe[1]);
    SignalPipe[0] = SignalPipe[1] = -1;
#endif
}

void EndSignals::Drain()
{
#ifdef Q_OS_UNIX
    char bytes[16];
    while (read(SignalPipe[0], bytes, sizeof bytes) > 0) {
    }
#endif
    emit Arrived();
}

} // namespace zintrova

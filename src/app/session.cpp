#include "app/session.h"

#include "mainwindow/fmMain.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cstdlib>
#include <cstring>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zintrova {

#ifdef Q_OS_UNIX
namespace {

constexpr int EndSignals[] = {SIGTERM, SIGINT, SIGHUP};
int SignalPipe[2] = {-1, -1};
struct sigaction PreviousAction[std::size(EndSignals)];

extern "C" void OnEndSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto n = write(SignalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace
#endif

SessionEnd::SessionEnd(fmMain *window) : window_(window)
{
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager &) { window_->SaveIni(); });
#ifdef Q_OS_UNIX
    if (SignalPipe[0] >= 0 || pipe(SignalPipe) != 0) return; // one at a time
    for (int fd : SignalPipe) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); // a full pipe never blocks a handler
    }
    notifier_ = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::SignalArrived);
    for (std::size_t i = 0; i < std::size(EndSignals); ++i) {
        // A signal ignored when the program started (SIGHUP under nohup, SIGINT in a background
        // job) was the user's choice and stays ignored.
        if (sigaction(EndSignals[i], nullptr, &PreviousAction[i]) != 0 ||
            PreviousAction[i].sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = OnEndSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(EndSignals[i], &action, nullptr);
    }
#endif
}

SessionEnd::~SessionEnd()
{
#ifdef Q_OS_UNIX
    if (!notifier_) return;
    for (std::size_t i = 0; i < std::size(EndSignals); ++i)
        sigaction(EndSignals[i], &PreviousAction[i], nullptr);
    delete notifier_;
    close(SignalPipe[0]);
    close(SignalPipe[1]);
    SignalPipe[0] = SignalPipe[1] = -1;
#endif
}

void SessionEnd::SignalArrived()
{
#ifdef Q_OS_UNIX
    char bytes[16];
    while (read(SignalPipe[0], bytes, sizeof bytes) > 0) {
    }
#endif
    signalled_ = true;
    // Closes the About window too, if it is open, so that its modal loop returns; the main
    // window's unload writes the settings, and the program ends with its last window.
    QApplication::closeAllWindows();
}

bool StartOnX11(const DisplayEnvironment &env)
{
    if (!env.QtPlatform.empty() || env.PlatformArgument) return false; // the user's choice
    const bool wayland = !env.WaylandDisplay.empty() || env.SessionType == "wayland";
    return wayland && !env.Display.empty();
}

DisplayEnvironment CurrentDisplayEnvironment(int argc, char **argv)
{
    const auto get = [](const char *name) {
        const char *v = std::getenv(name);
        return std::string(v ? v : "");
    };
    DisplayEnvironment env{get("QT_QPA_PLATFORM"), get("WAYLAND_DISPLAY"), get("XDG_SESSION_TYPE"),
                           get("DISPLAY"), false};
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            env.PlatformArgument = true;
    return env;
}

} // namespace zintrova

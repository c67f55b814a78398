#include "desktop/clipboard_keeper.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QSessionManager>
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

// The handler only writes a byte into a pipe; a socket notifier reads it in the event loop.
constexpr int EndSignals[] = {SIGTERM, SIGINT, SIGHUP};
int SignalPipe[2] = {-1, -1};
struct sigaction PreviousAction[std::size(EndSignals)];
bool Installed[std::size(EndSignals)];

extern "C" void OnKeeperSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto n = write(SignalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace
#endif

bool LingersAfterExit(QStringView platformName, bool ownsClipboard)
{
    return ownsClipboard &&
           (platformName == u"xcb" || platformName.startsWith(QLatin1String("wayland")));
}

ClipboardKeeper::ClipboardKeeper()
{
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this,
            [this](QClipboard::Mode mode) {
                if (mode == QClipboard::Clipboard && !OwnsClipboard()) End();
            });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) { End(); });
#ifdef Q_OS_UNIX
    if (SignalPipe[0] >= 0 || pipe(SignalPipe) != 0) return; // one at a time
    for (int fd : SignalPipe) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); // a full pipe never blocks a handler
    }
    notifier_ = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ClipboardKeeper::End);
    for (std::size_t i = 0; i < std::size(EndSignals); ++i) {
        // A signal ignored when the program started (nohup, a background job) stays ignored.
        sigaction(EndSignals[i], nullptr, &PreviousAction[i]);
        Installed[i] = PreviousAction[i].sa_handler != SIG_IGN;
        if (!Installed[i]) continue;
        struct sigaction action {};
        action.sa_handler = OnKeeperSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(EndSignals[i], &action, nullptr);
    }
#endif
}

ClipboardKeeper::~ClipboardKeeper()
{
#ifdef Q_OS_UNIX
    if (!notifier_) return;
    for (std::size_t i = 0; i < std::size(EndSignals); ++i)
        if (Installed[i]) sigaction(EndSignals[i], &PreviousAction[i], nullptr);
    delete notifier_;
    close(SignalPipe[0]);
    close(SignalPipe[1]);
    SignalPipe[0] = SignalPipe[1] = -1;
#endif
}

int ClipboardKeeper::Run()
{
    // The clipboard may have changed hands between the decision and now.
    if (!OwnsClipboard()) return 0;
    QEventLoop loop;
    loop_ = &loop;
    const int result = loop.exec();
    loop_ = nullptr;
    return result;
}

bool ClipboardKeeper::OwnsClipboard() const
{
    return QGuiApplication::clipboard()->ownsClipboard();
}

void ClipboardKeeper::End()
{
    if (loop_) loop_->exit(0);
}

void KeepCopiedPassword()
{
    if (!LingersAfterExit(QGuiApplication::platformName(),
                          QGuiApplication::clipboard()->ownsClipboard()))
        return;
    // The window's close may have left a request to quit behind; it must not end the stay.
    QCoreApplication::removePostedEvents(qApp, QEvent::Quit);
    ClipboardKeeper keeper;
    keeper.Run();
}

} // namespace zintrova

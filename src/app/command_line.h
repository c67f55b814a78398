#pragma once
// The program's command line, read before anything needs a display: --help and --version answer
// and end the program, a mistyped option or a stray argument is refused, and Qt's own options
// (-platform, -style, -stylesheet, -session ...) pass through to the application. Where windows
// need an X11 or Wayland display and none is given, the program says so instead of aborting; so
// it does where the display given cannot be reached or the platform chosen cannot be loaded.

#include "app/session.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zintrova {

// What the command line asks for.
struct CommandLineAnswer {
    bool Run = true;       // go on and show the window
    int ExitCode = 0;      // when not: the program's exit status
    QString Text;          // printed before ending, a line or more, ending in a newline
    bool ToStdErr = false; // Text is an error
};

// Reads the arguments (the program's name first). needDisplay: the window system needs DISPLAY or
// WAYLAND_DISPLAY unless a platform is chosen (QT_QPA_PLATFORM or -platform).
CommandLineAnswer ReadCommandLine(const QStringList &args, const DisplayEnvironment &env,
                                  bool needDisplay);

// Reads this process's command line and environment. Prints the answer and returns the exit
// status when the program is to end here; nothing when it goes on.
std::optional<int> HandleCommandLine(int argc, char **argv);

// One of Qt's messages: its category and its text.
struct QtMessage {
    QString Category;
    QString Text;
};

// The line that says why no window system could be started, from the messages Qt gave while it
// tried (the last one the fatal one): which display could not be reached, or which platform could
// not be loaded. waylandDisplay: the display that WAYLAND_DISPLAY names, empty when it is unset.
QString NoWindowSystemText(const QString &program, const QList<QtMessage> &messages,
                           const QString &waylandDisplay);

// Where Qt cannot start any of the window systems it tries, it ends the program with abort() and
// a page of advice to reinstall it. From construction to Started(), around the making of the
// application object, Qt's messages are held back; should the start fail, the program prints
// NoWindowSystemText on standard error and exits with status 1, else the held messages go out as
// usual.
class WindowSystemStart {
public:
    explicit WindowSystemStart(const char *argv0);
    ~WindowSystemStart();
    WindowSystemStart(const WindowSystemStart &) = delete;
    WindowSystemStart &operator=(const WindowSystemStart &) = delete;

    // The application object stands: writes the messages held back and lets the next ones through.
    void Started();
};

} // namespace zintrova

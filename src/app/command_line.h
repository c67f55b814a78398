#pragma once
// The program's command line, read before anything needs a display: --help and --version answer
// and end the program, a mistyped option or a stray argument is refused, and Qt's own options
// (-platform, -style, -stylesheet, -session ...) pass through to the application. Where windows
// need an X11 or Wayland display and none is given, the program says so instead of aborting.

#include "app/session.h"

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

} // namespace zintrova

#pragma once
// The end of the desktop session, and the choice of window system at start-up.
//
// Logging out or shutting down must keep the settings as a close does. SessionEnd saves them when
// the session manager asks the program to commit its data, and on SIGTERM, SIGINT and SIGHUP it
// closes the windows through the event loop (the signal handler only writes a byte into a pipe
// that a socket notifier reads), so that the main window unloads and writes its settings. Of
// these signals, one that was ignored when the program started stays ignored.

#include <QObject>
#include <string>

namespace zintrova {

class fmMain;

class SessionEnd : public QObject {
    Q_OBJECT
public:
    // Installs the signal handlers (desktop/end_signals.h); they go with this object.
    explicit SessionEnd(fmMain *window);

    // Whether the windows were closed because a termination signal arrived.
    bool Signalled() const { return signalled_; }

private:
    fmMain *window_;
    bool signalled_ = false;
};

// Qt ends the program by itself when the connection to its display breaks (an X server or a
// Wayland compositor gone, an SSH connection with X forwarding dropped): on X11 with exit() from
// the event loop, on Wayland with _exit() from its own thread, each right after a warning that
// says so. Neither lets the window unload. From this call on, either end writes the settings
// record that the window keeps pending (settings/pending_record.h), with no further call to the
// display. Call it once the application object stands.
void SaveSettingsOnDisplayLoss();

// What start-up knows about the display: the environment variables QT_QPA_PLATFORM,
// WAYLAND_DISPLAY, XDG_SESSION_TYPE and DISPLAY, and whether "-platform" was given.
struct DisplayEnvironment {
    std::string QtPlatform;
    std::string WaylandDisplay;
    std::string SessionType;
    std::string Display;
    bool PlatformArgument = false;
};

// A Wayland session does not let a program place its own window, so the saved position would be
// lost. When the user has chosen no platform and XWayland is there (DISPLAY set), the program
// starts on X11.
bool StartOnX11(const DisplayEnvironment &env);

// The environment of this process, with the arguments searched for "-platform".
DisplayEnvironment CurrentDisplayEnvironment(int argc, char **argv);

} // namespace zintrova

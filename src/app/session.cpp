#include "app/session.h"

#include "desktop/end_signals.h"
#include "mainwindow/fmMain.h"

#include <QApplication>
#include <QSessionManager>
#include <cstdlib>
#include <cstring>

namespace zintrova {

SessionEnd::SessionEnd(fmMain *window) : window_(window)
{
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager &) { window_->SaveIni(); });
    connect(new EndSignals(this), &EndSignals::Arrived, this, [this] {
        signalled_ = true;
        // Closes the About window too, if it is open, so that its modal loop returns; the main
        // window's unload writes the settings, and the program ends with its last window.
        QApplication::closeAllWindows();
    });
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

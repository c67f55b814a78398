#include "app/session.h"

#include "desktop/end_signals.h"
#include "mainwindow/fmMain.h"
#include "settings/pending_record.h"

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

namespace {

QtMessageHandler PreviousHandler = nullptr;

// Qt's own words, just before it ends the program, for a display that has gone away.
bool SaysDisplayGone(const QString &text)
{
    return text.startsWith(QLatin1String("The X11 connection broke")) ||
           text.startsWith(QLatin1String("The Wayland connection broke")) ||
           text.startsWith(QLatin1String("The Wayland connection experienced a fatal error"));
}

void WatchForDisplayLoss(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    PreviousHandler(type, context, text);
    if (type == QtWarningMsg && SaysDisplayGone(text)) settings::WritePendingRecord();
}

} // namespace

void SaveSettingsOnDisplayLoss()
{
    // An exit() with the window still open finds its record pending; after an unload, none is.
    static const bool once = [] {
        std::atexit([] { settings::WritePendingRecord(); });
        PreviousHandler = qInstallMessageHandler(WatchForDisplayLoss);
        return true;
    }();
    (void)once;
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

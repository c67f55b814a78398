#include "app/command_line.h"
#include "app/hardening.h"
#include "app/session.h"
#include "controls/fonts.h"
#include "desktop/clipboard_keeper.h"
#include "mainwindow/fmMain.h"
#include "version.h"

#include <QApplication>
#include <vector>

int main(int argc, char *argv[])
{
    // --help, --version, a mistyped option, no display: answered before Qt needs a display.
    if (const auto status = zintrova::HandleCommandLine(argc, argv)) return *status;
    // Before any password exists: no core file to leak one, and a secure source or no program.
    zintrova::DisableCoreDumps();
    if (!zintrova::SecureRandomAtStart(argc, argv)) return 1;

    // Under Wayland the saved window position can only be applied through XWayland. The choice
    // goes in as an argument, not into the environment, so that programs started from here (the
    // help viewer, the browser) still get the user's own platform. If X11 cannot be used after
    // all, Qt falls back to Wayland.
    std::vector<char *> args(argv, argv + argc);
    char platformOption[] = "-platform";
    char platformName[] = "xcb;wayland";
    if (zintrova::StartOnX11(zintrova::CurrentDisplayEnvironment(argc, argv))) {
        args.push_back(platformOption);
        args.push_back(platformName);
    }
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);

    // A display that does not answer, or a platform that does not load, is said in one line.
    zintrova::WindowSystemStart start(argv[0]);
    QApplication app(count, args.data());
    start.Started();
    zintrova::SaveSettingsOnDisplayLoss();
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QLatin1String(zintrova::app::AppId));
    zintrova::InstallFontSubstitutes();
    int result = 0;
    bool signalled = false;
    {
        zintrova::fmMain window;
        zintrova::SessionEnd sessionEnd(&window);
        window.show();
        result = app.exec();
        signalled = sessionEnd.Signalled();
    }
    // The window and everything it held are gone, its settings saved. Where the program that
    // copied is the one that serves the paste, the copied password stays pasteable until another
    // program takes the clipboard over (desktop/clipboard_keeper.h). A signal ends it all here.
    if (!signalled) zintrova::KeepCopiedPassword();
    return result;
}

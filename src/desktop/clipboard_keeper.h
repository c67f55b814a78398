#pragma once
// Keeping a copied password pasteable after the window has gone.
//
// On X11 and Wayland the clipboard holds no text of its own: the program that copied serves every
// paste, so a password copied just before Exit would be gone with the process. There the program
// does what the command-line clipboard tools do: after the main window has unloaded (its settings
// saved, its timers and handlers gone) the process stays, without a window, while the clipboard
// still holds what it put there, and ends as soon as another program takes the clipboard over, on
// SIGTERM, SIGINT or SIGHUP, or at the end of the desktop session. It saves nothing then. The data
// it serves is the one the copy handed to Qt's clipboard, secret mark included; nothing else of
// the program survives.

#include <QObject>
#include <QStringView>

class QEventLoop;

namespace zintrova {

// The one decision whether the program stays after its window has gone: only on the platforms
// whose clipboard is served by the program that copied ("xcb" and "wayland", the latter in any of
// its variants such as "wayland-egl"), and only while this program still owns the clipboard. The
// system keeps the clipboard's data on Windows and macOS, and on "offscreen" and "minimal" there
// is nobody to paste.
bool LingersAfterExit(QStringView platformName, bool ownsClipboard);

// Serves the clipboard without a window until one of the ends above.
class ClipboardKeeper : public QObject {
    Q_OBJECT
public:
    // Takes over SIGTERM, SIGINT and SIGHUP, each unless it is ignored, for as long as it lives
    // (desktop/end_signals.h).
    ClipboardKeeper();

    // Runs the event loop until the clipboard is lost, a termination signal arrives or the
    // session ends; returns at once if the clipboard is not this program's any more. The result
    // is the event loop's: 0 for each of those ends.
    int Run();

protected:
    // Whether the clipboard still holds what this program put there: Qt's record of it, and on
    // X11 the server's answer too (asked on each change Qt reports and every half second).
    virtual bool OwnsClipboard() const;

private:
    void End();

    QEventLoop *loop_ = nullptr;
};

// Called once the main window has gone: stays for as long as LingersAfterExit says, else returns
// at once.
void KeepCopiedPassword();

} // namespace zintrova

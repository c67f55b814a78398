#pragma once
// Where the settings file is read and written. The file beside the program ("IniFile") is the
// one in use wherever this user can write it, and also where its owner has frozen it by making it
// read-only: then it is read and nothing is saved. Installed into a folder the user cannot write
// (a system package, Program Files), the program keeps a per-user copy instead: it reads that copy
// when there is one, and saves there when the file beside the program cannot be written.

#include <QString>

namespace zintrova::settings {

// The parts of the environment that name the user's settings folder.
struct UserEnvironment {
    QString Home;       // HOME
    QString ConfigHome; // XDG_CONFIG_HOME on Unix desktops, LOCALAPPDATA on Windows
    // Installed by the system's package manager, whose folders hold no settings, also where root
    // could write them: every user, root too, has only the per-user copy.
    bool SystemInstall = false;
};

UserEnvironment CurrentUserEnvironment();

// The per-user copy of the settings file: $XDG_CONFIG_HOME/Zintrova/Zintrova.ini (by default
// ~/.config/Zintrova/Zintrova.ini), %LOCALAPPDATA%\Zintrova\Zintrova.ini on Windows, and
// ~/Library/Application Support/Zintrova/Zintrova.ini on macOS. Empty when the environment
// names no absolute folder for it.
QString UserIniPath(const UserEnvironment &env);

// Whether a write of the file at `path` can start: it is not frozen (IsFrozen), and its folder
// takes a new file, or the file exists and this user may write it or make it writable (it is
// theirs).
bool CanStartWrite(const QString &path);

// The file to read the settings from: the per-user copy when the file beside the program
// (`iniFile`) cannot be written, or is not to be, and the copy exists; otherwise `iniFile`. A
// frozen `iniFile` is read, whatever copy the user has (except in a system install, whose folder
// holds no settings).
QString ReadPath(const QString &iniFile, const UserEnvironment &env);

// The file to save the settings to: `iniFile` whenever a write of it can start (and the program
// is no system install), otherwise the per-user copy, whose folder is created here with the user's
// permissions. Empty when the save is skipped: `iniFile` is frozen, there is no per-user copy, or
// its folder cannot be created. A frozen per-user copy is returned, and the writer leaves it alone.
QString WritePath(const QString &iniFile, const UserEnvironment &env);

} // namespace zintrova::settings

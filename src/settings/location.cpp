#include "settings/location.h"

#include "settings/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace zintrova::settings {

namespace {

// A variable that names a folder counts only when it is absolute: a relative one would put the
// file wherever the program happens to be started.
QString AbsoluteOrEmpty(const QString &folder)
{
    return !folder.isEmpty() && QDir::isAbsolutePath(folder) ? folder : QString();
}

// Tries what the writer does first, a new file in the folder, and removes it again.
bool FolderTakesNewFile(const QString &folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/.Zintrova-XXXXXX"));
    return probe.open();
}

} // namespace

UserEnvironment CurrentUserEnvironment()
{
#ifdef ZINTROVA_SYSTEM_INSTALL
    constexpr bool systemInstall = true;
#else
    constexpr bool systemInstall = false;
#endif
#ifdef Q_OS_WIN
    return {qEnvironmentVariable("USERPROFILE"), qEnvironmentVariable("LOCALAPPDATA"),
            systemInstall};
#else
    return {qEnvironmentVariable("HOME"), qEnvironmentVariable("XDG_CONFIG_HOME"), systemInstall};
#endif
}

QString UserIniPath(const UserEnvironment &env)
{
#if defined(Q_OS_WIN)
    QString base = AbsoluteOrEmpty(env.ConfigHome);
#elif defined(Q_OS_MACOS)
    QString base = AbsoluteOrEmpty(env.Home);
    if (!base.isEmpty()) base += QStringLiteral("/Library/Application Support");
#else
    QString base = AbsoluteOrEmpty(env.ConfigHome);
    if (base.isEmpty() && !AbsoluteOrEmpty(env.Home).isEmpty())
        base = env.Home + QStringLiteral("/.config");
#endif
    if (base.isEmpty()) return {};
    return IniPath(QDir::cleanPath(base) + QStringLiteral("/Zintrova"));
}

bool CanStartWrite(const QString &path)
{
    if (IsFrozen(path)) return false;
    const QFileInfo file(path);
    if (FolderTakesNewFile(file.absolutePath())) return true;
    if (!file.isFile()) return false;
    if (file.isWritable()) return true;
#ifdef Q_OS_UNIX
    // The writer clears the read-only mark of the user's own file before writing in place.
    return file.ownerId() == geteuid();
#else
    return false;
#endif
}

QString ReadPath(const QString &iniFile, const UserEnvironment &env)
{
    if (!env.SystemInstall && (IsFrozen(iniFile) || CanStartWrite(iniFile))) return iniFile;
    const QString user = UserIniPath(env);
    return !user.isEmpty() && QFileInfo(user).isFile() ? user : iniFile;
}

QString WritePath(const QString &iniFile, const UserEnvironment &env)
{
    if (!env.SystemInstall && CanStartWrite(iniFile)) return iniFile;
    // The owner of a frozen file keeps its settings: none go to the user's copy either.
    if (!env.SystemInstall && IsFrozen(iniFile)) return {};
    const QString user = UserIniPath(env);
    if (user.isEmpty() || !QDir().mkpath(QFileInfo(user).absolutePath())) return {};
    return user;
}

} // namespace zintrova::settings

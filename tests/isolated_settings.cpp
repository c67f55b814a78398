// Linked into every test program: the settings file goes to a temporary folder of the test
// program's own instead of beside the executable, so that no test reads a file that another
// test program, or a run of Zintrova from the build folder, left there. The user's own copy of
// the file, used where that folder cannot be written, goes there too, never to the real home.

#include "settings/ini_file.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

void UseTemporarySettingsFolder()
{
    static QTemporaryDir folder;
    zintrova::settings::SetSettingsFolder(folder.path());
    for (const char *name : {"XDG_CONFIG_HOME", "LOCALAPPDATA"})
        qputenv(name, folder.filePath(QStringLiteral("user")).toLocal8Bit());
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(UseTemporarySettingsFolder)

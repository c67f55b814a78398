// Linked into every test program: the settings file goes to a temporary folder of the test
// program's own instead of beside the executable, so that no test reads a file that another
// test program, or a run of Zintrova from the build folder, left there.

#include "settings/ini_file.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

void UseTemporarySettingsFolder()
{
    static QTemporaryDir folder;
    zintrova::settings::SetSettingsFolder(folder.path());
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(UseTemporarySettingsFolder)

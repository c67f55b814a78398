#include "app/hardening.h"

#include "engine/random_source.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <cstring>

#if defined(__linux__)
#include <sys/prctl.h>
#endif
#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

namespace zintrova {

void DisableCoreDumps()
{
    const char *allow = std::getenv("ZINTROVA_ALLOW_CORE_DUMPS");
    if (allow && std::strcmp(allow, "1") == 0) return;
#if defined(Q_OS_UNIX)
    // The hard limit stays, so that programs started from here (the browser) keep their own.
    rlimit core{};
    if (getrlimit(RLIMIT_CORE, &core) == 0) {
        core.rlim_cur = 0;
        setrlimit(RLIMIT_CORE, &core);
    }
#endif
#if defined(__linux__)
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

bool SecureRandomAtStart(int &argc, char **argv)
{
    if (ProgramRandom().Reserve(1)) return true;
    QApplication app(argc, argv);
    QMessageBox::critical(nullptr, QStringLiteral("Zintrova"),
                          QStringLiteral("Zintrova cannot get secure random numbers from the "
                                         "system, so it makes no passwords.\n\nThe program ends."));
    return false;
}

} // namespace zintrova

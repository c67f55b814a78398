#include "settings/pending_record.h"

#include "settings/ini_file.h"
#include "settings/location.h"

#include <mutex>

namespace zintrova::settings {

namespace {

struct Pending {
    std::mutex Lock;
    bool Held = false;
    std::string Line;
    QString IniFile;
};

// Never destroyed: an exit() runs the handler that writes it after the destructors of statics
// made later than the handler's registration, as this one is.
Pending &ThePending()
{
    static Pending *const pending = new Pending;
    return *pending;
}

} // namespace

void KeepPendingRecord(const std::string &line, const QString &iniFile)
{
    Pending &p = ThePending();
    const std::lock_guard lock(p.Lock);
    p.Held = true;
    p.Line = line;
    p.IniFile = iniFile;
}

void DropPendingRecord()
{
    Pending &p = ThePending();
    const std::lock_guard lock(p.Lock);
    p.Held = false;
}

bool WritePendingRecord()
{
    Pending &p = ThePending();
    const std::lock_guard lock(p.Lock);
    if (!p.Held) return false;
    p.Held = false;
    const QString target = WritePath(p.IniFile, CurrentUserEnvironment());
    return !target.isEmpty() && WriteRecordFile(target, p.Line);
}

} // namespace zintrova::settings

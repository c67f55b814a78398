#pragma once
// The record that the main window would save if it unloaded now. The window keeps it current as
// its choices and its place change, so that an end that gives the window no time to unload
// still keeps them: Qt ends the program by itself when its display goes away, on X11 from the
// event loop and on Wayland from a thread of its own, with no further event for the window.

#include <QString>
#include <string>

namespace zintrova::settings {

// The record line to write to the settings file `iniFile` (where it is really written to is
// decided at the time of writing, settings/location.h). Called on the window's thread.
void KeepPendingRecord(const std::string &line, const QString &iniFile);

// The window has saved its settings and unloads: nothing is pending any more.
void DropPendingRecord();

// Writes the pending record, if there is one, and leaves none pending: a second call writes
// nothing. Safe from any thread. Returns whether a record was written.
bool WritePendingRecord();

} // namespace zintrova::settings

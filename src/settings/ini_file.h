#pragma once
// The settings file "Zintrova.ini" in the folder of the executable: where it is, reading the
// start of it, and replacing it in one step.

#include <QString>
#include <string>
#include <string_view>

namespace zintrova::settings {

inline constexpr char FileName[] = "Zintrova.ini";

// The file in `folder`, with exactly one separator before its name, also when the folder is a
// root that already ends with one ("/", "C:/").
QString IniPath(const QString &folder);

// The folder that holds the file: the folder of the executable. Test programs point it at a
// folder of their own with SetSettingsFolder (an empty text goes back to the executable's);
// the program itself never calls it.
QString SettingsFolder();
void SetSettingsFolder(const QString &folder);

// The record text of the first MaxHead bytes of the file at `path` (see RecordText), or NoRecord
// when it is missing, is not a regular file, cannot be opened or is empty.
std::string ReadRecordFile(const QString &path);

// Writes `line` and CR LF as the whole content of the file. An existing file is first made
// writable (read-only, and on Windows hidden and system, cleared); the new content goes to a
// temporary file beside it that then replaces the old one in one step, so a failure at any point
// leaves the previous file as it was. Where the folder takes no new file but the file itself is
// writable, the file is written in place. Returns whether the file was written.
bool WriteRecordFile(const QString &path, std::string_view line);

} // namespace zintrova::settings

#pragma once
// The settings file "Zintrova.ini" in the folder of the executable: where it is, reading the
// start of it, and replacing it in one step.

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

class QFileDevice;

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

// Whether the file at `path`, or the file a link there leads to, is frozen: a regular file that
// its owner may read but not write. Its owner chose to keep these settings; the file is read, but
// never written, replaced or given another mode. Only on Unix: on Windows a read-only file is one
// with the read-only attribute, which the writer clears.
bool IsFrozen(const QString &path);

// Writes `line` and CR LF as the whole content of the file. Only a regular file that is not frozen
// is written: a link to one is written through (the link stays), while anything else, directly or
// behind a link, is left alone. An existing file is first made readable and writable by its owner
// (a file of mode 000 or 200, which could not be read at all, becomes 600; on Windows the
// read-only, hidden and system attributes are cleared), so that the next start reads what was
// saved; a new one gets what the umask allows. The new content goes to a temporary file
// beside the old one that then replaces it in one step, so a failure at any point leaves the
// previous file as it was. Where the folder takes no new file but the file itself is writable,
// the file is written in place: the new content goes over the old bytes, the file is then cut to
// its length and flushed to disk. It is never truncated first, so a write that fails leaves the
// old record. Returns whether the file was written.
bool WriteRecordFile(const QString &path, std::string_view line);

// How both writers put the content into the open file (the temporary file, or in place the
// settings file itself): all of it, flushed, or false. Tests replace it to make a write fail as
// a full disk or an I/O error would.
using ContentWrite = bool (*)(QFileDevice &file, const QByteArray &content);
ContentWrite &ContentWriter();

} // namespace zintrova::settings

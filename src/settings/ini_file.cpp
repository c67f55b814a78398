#include "settings/ini_file.h"

#include "settings/record.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
#include <QDir>
#include <windows.h>
#endif

namespace zintrova::settings {

namespace {
QString &FolderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString IniPath(const QString &folder)
{
    const bool endsWithSeparator = folder.endsWith(u'/') || folder.endsWith(u'\\');
    return folder + (endsWithSeparator ? QString() : QStringLiteral("/")) + QLatin1String(FileName);
}

QString SettingsFolder()
{
    const QString &folder = FolderOverride();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

void SetSettingsFolder(const QString &folder)
{
    FolderOverride() = folder;
}

std::string ReadRecordFile(const QString &path)
{
    QByteArray head;
#ifdef Q_OS_UNIX
    // Only a regular file: a pipe or a device of that name could block or never end. What is
    // checked is what was opened, so nothing can take the file's place in between, and the open
    // itself does not wait for a pipe's writer.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return std::string(NoRecord);
    struct stat st {};
    QFile file;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        head = file.read(qint64{MaxHead});
    file.close();
    close(fd);
#else
    if (!QFileInfo(path).isFile()) return std::string(NoRecord);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::string(NoRecord);
    head = file.read(qint64{MaxHead});
#endif
    return RecordText(std::string_view(head.constData(), static_cast<std::size_t>(head.size())));
}

namespace {

bool WriteAndFlush(QFileDevice &file, const QByteArray &content)
{
    return file.write(content) == content.size() && file.flush();
}

QByteArray Content(std::string_view line)
{
    QByteArray content(line.data(), static_cast<qsizetype>(line.size()));
    return content + "\r\n"; // the same line end on every platform
}

// The file a save may write: `path` itself, a new file there, or the regular file a link at
// `path` leads to. Empty for anything else: a folder, a device or a pipe (directly or behind a
// link), and a link that leads nowhere.
QString WriteTarget(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath(); // empty for a broken link
        return !target.isEmpty() && QFileInfo(target).isFile() ? target : QString();
    }
    if (!info.exists()) return path;
    return info.isFile() ? path : QString();
}

// The owner may read and write the file afterwards, whatever its mode was (000 becomes 600). A
// frozen file never comes here.
void MakeOwnerReadWrite(const QString &target)
{
    const QFileInfo existing(target);
    if (!existing.exists()) return;
#ifdef Q_OS_WIN
    SetFileAttributesW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(target).utf16()),
                       FILE_ATTRIBUTE_NORMAL);
#endif
    QFile::setPermissions(target, existing.permissions() | QFileDevice::ReadOwner |
                                      QFileDevice::WriteOwner);
}

bool Overwrite(const QString &target, const QByteArray &content)
{
#ifdef Q_OS_UNIX
    // The file is checked once more after it is opened: no link may have taken its place, and it
    // must still be a regular file (O_NONBLOCK keeps a pipe from holding up the open).
    const int fd = ::open(QFile::encodeName(target).constData(),
                          O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        QFile file;
        ok = file.open(fd, QIODevice::ReadWrite | QIODevice::Unbuffered,
                       QFileDevice::DontCloseHandle) &&
             ContentWriter()(file, content);
        file.close();
        // Cut off what is left of a longer old content only once the new one is in place.
        ok = ok && ftruncate(fd, static_cast<off_t>(content.size())) == 0 && fsync(fd) == 0;
    }
    close(fd);
    return ok;
#else
    QFile file(target);
    if (!file.open(QIODevice::ReadWrite)) return false; // opens without truncating
    return ContentWriter()(file, content) && file.resize(content.size());
#endif
}

} // namespace

bool IsFrozen(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st {};
    return stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode) &&
           (st.st_mode & S_IRUSR) != 0 && (st.st_mode & S_IWUSR) == 0;
#else
    Q_UNUSED(path);
    return false;
#endif
}

ContentWrite &ContentWriter()
{
    static ContentWrite write = WriteAndFlush;
    return write;
}

bool WriteRecordFile(const QString &path, std::string_view line)
{
    const QString target = WriteTarget(path);
    if (target.isEmpty() || IsFrozen(target)) return false;
    MakeOwnerReadWrite(target);
    const QByteArray content = Content(line);
    QSaveFile file(target);
    file.setDirectWriteFallback(false); // its fallback truncates first; Overwrite does not
    if (!file.open(QIODevice::WriteOnly))
        return QFileInfo::exists(target) && Overwrite(target, content);
    // Not committed, the temporary file is discarded and the old file stays as it was. The
    // flush matters: commit() does not notice a write that fails while it flushes the buffer
    // (a full disk), and would put the cut-off file in place of the old one.
    if (!ContentWriter()(file, content)) return false;
    return file.commit();
}

} // namespace zintrova::settings

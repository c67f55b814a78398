#include "settings/ini_file.h"

#include "settings/record.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    // Only a regular file: a pipe or a device of that name could block or never end.
    if (!QFileInfo(path).isFile()) return std::string(NoRecord);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::string(NoRecord);
    const QByteArray head = file.read(qint64{MaxHead});
    return RecordText(std::string_view(head.constData(), static_cast<std::size_t>(head.size())));
}

bool WriteRecordFile(const QString &path, std::string_view line)
{
    const QFileInfo existing(path);
    if (existing.exists()) {
#ifdef Q_OS_WIN
        SetFileAttributesW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()),
                           FILE_ATTRIBUTE_NORMAL);
#endif
        QFile::setPermissions(path, existing.permissions() | QFileDevice::WriteOwner |
                                        QFileDevice::WriteUser);
    }
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QByteArray content(line.data(), static_cast<qsizetype>(line.size()));
    content += "\r\n"; // the same line end on every platform
    // Not committed, the temporary file is discarded and the old file stays as it was. The
    // explicit flush matters: commit() does not notice a write that fails while it flushes the
    // buffer (a full disk), and would put the cut-off file in place of the old one.
    if (file.write(content) != content.size() || !file.flush()) return false;
    return file.commit();
}

} // namespace zintrova::settings

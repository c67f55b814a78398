#include "desktop/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace zintrova {

bool Clipboard::SetText(const QString &text)
{
    Write(SecretData(text));
    return Read() == text;
}

QMimeData *Clipboard::SecretData(const QString &text)
{
    auto *data = new QMimeData;
    data->setText(text);
#if defined(Q_OS_WIN)
    // Windows: not for clipboard monitors, not for the clipboard history, not for the cloud
    // clipboard. The last two are read as a DWORD; zero says no.
    const QByteArray no(4, '\0');
    const auto format = [](const char *name) {
        return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"")
            .arg(QLatin1String(name));
    };
    data->setData(format("ExcludeClipboardContentFromMonitorProcessing"), no);
    data->setData(format("CanIncludeInClipboardHistory"), no);
    data->setData(format("CanUploadToCloudClipboard"), no);
#elif defined(Q_OS_MACOS)
    // macOS: the pasteboard's concealed type, which clipboard managers skip.
    data->setData(QStringLiteral("application/x-nspasteboard-concealed-type"), text.toUtf8());
#else
    // Unix desktops: the hint that KDE's Klipper and others honour.
    data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
#endif
    return data;
}

void Clipboard::Write(QMimeData *data)
{
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}

QString Clipboard::Read() const
{
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}

Clipboard &ProgramClipboard()
{
    static Clipboard clipboard;
    return clipboard;
}

} // namespace zintrova

#include "desktop/clipboard.h"

#include "engine/secret.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace zintrova {

namespace {

// Clipboard data that owns the copied text and every byte form of it that it hands out, and
// overwrites them all when the clipboard lets go of it: Qt deletes the data as soon as something
// else is copied. Qt's own QMimeData would keep the text but convert it afresh for every paste,
// leaving the converted copies behind.
class SecretMimeData final : public QMimeData {
public:
    // Holds the text in the formats given, plain text first.
    SecretMimeData(const QString &text, QStringList textFormats)
        : text_(text), textFormats_(std::move(textFormats))
    {
    }
    ~SecretMimeData() override
    {
        ReleaseSecret(text_);
        ReleaseSecret(bytes_);
    }
    QStringList formats() const override { return textFormats_ + QMimeData::formats(); }

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override
    {
        if (!textFormats_.contains(mimeType)) return QMimeData::retrieveData(mimeType, type);
        if (type.id() == QMetaType::QString) return text_;
        // Every paste gets the one UTF-8 form, shared, never a new conversion.
        if (bytes_.isNull()) bytes_ = text_.toUtf8();
        return bytes_;
    }

private:
    QString text_;
    mutable QByteArray bytes_;
    QStringList textFormats_;
};

// The formats that carry the text itself.
QStringList TextFormats()
{
    QStringList formats{QStringLiteral("text/plain")};
#if defined(Q_OS_MACOS)
    formats += QStringLiteral("application/x-nspasteboard-concealed-type");
#endif
    return formats;
}

} // namespace

bool Clipboard::SetText(const QString &text)
{
    Write(SecretData(text));
    // Reading back makes a copy of the text: it goes as soon as it has been compared.
    QString held = Read();
    const bool same = held == text;
    ReleaseSecret(held);
    return same;
}

QMimeData *Clipboard::SecretData(const QString &text)
{
    auto *data = new SecretMimeData(text, TextFormats());
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
    // macOS: the pasteboard's concealed type, which clipboard managers skip, is one of the text's
    // own formats (TextFormats).
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

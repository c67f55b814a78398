#include "desktop/clipboard_keeper.h"

#include "desktop/end_signals.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QSessionManager>

namespace zintrova {

bool LingersAfterExit(QStringView platformName, bool ownsClipboard)
{
    return ownsClipboard &&
           (platformName == u"xcb" || platformName.startsWith(QLatin1String("wayland")));
}

ClipboardKeeper::ClipboardKeeper()
{
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this,
            [this](QClipboard::Mode mode) {
                if (mode == QClipboard::Clipboard && !OwnsClipboard()) End();
            });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) { End(); });
    connect(new EndSignals(this), &EndSignals::Arrived, this, &ClipboardKeeper::End);
}

int ClipboardKeeper::Run()
{
    // The clipboard may have changed hands between the decision and now.
    if (!OwnsClipboard()) return 0;
    QEventLoop loop;
    loop_ = &loop;
    const int result = loop.exec();
    loop_ = nullptr;
    return result;
}

bool ClipboardKeeper::OwnsClipboard() const
{
    return QGuiApplication::clipboard()->ownsClipboard();
}

void ClipboardKeeper::End()
{
    if (loop_) loop_->exit(0);
}

void KeepCopiedPassword()
{
    if (!LingersAfterExit(QGuiApplication::platformName(),
                          QGuiApplication::clipboard()->ownsClipboard()))
        return;
    // The window's close may have left a request to quit behind; it must not end the stay.
    QCoreApplication::removePostedEvents(qApp, QEvent::Quit);
    ClipboardKeeper keeper;
    keeper.Run();
}

} // namespace zintrova

#include "desktop/clipboard_keeper.h"

#include "desktop/end_signals.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QSessionManager>
#include <QTimer>

#if defined(ZINTROVA_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>
#endif

namespace zintrova {

namespace {

// How often a stay asks again whether the clipboard is still this program's.
constexpr int RecheckMs = 500;

#if defined(ZINTROVA_HAVE_XCB) && QT_CONFIG(xcb)
// xcb hands out its replies for the caller to free.
struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template <class T> using Reply = std::unique_ptr<T, FreeReply>;
#endif

// Whether the X server names a window of this program as the owner of the clipboard. Qt keeps a
// record of its own, and that record can stay wrong for good: Qt disregards the notice that
// another program has taken the clipboard when the new owner's claim carries the very time of
// Qt's own copy, as the claims of clipboard managers often do, and the server tells only the
// latest owner about the next change. True where there is no X server to ask.
bool ServerNamesUs()
{
#if defined(ZINTROVA_HAVE_XCB) && QT_CONFIG(xcb)
    const auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection) return true;
    const char name[] = "CLIPBOARD";
    const Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr));
    if (!atom) return true;
    const Reply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr));
    if (!owner) return true;
    // Every window this connection made has an id from the connection's own range.
    const xcb_setup_t *setup = xcb_get_setup(connection);
    return (owner->owner & ~setup->resource_id_mask) == setup->resource_id_base;
#else
    return true;
#endif
}

bool ClipboardIsOurs()
{
    return QGuiApplication::clipboard()->ownsClipboard() && ServerNamesUs();
}

} // namespace

bool LingersAfterExit(QStringView platformName, bool ownsClipboard)
{
    return ownsClipboard &&
           (platformName == u"xcb" || platformName.startsWith(QLatin1String("wayland")));
}

ClipboardKeeper::ClipboardKeeper()
{
    const auto recheck = [this] {
        if (!OwnsClipboard()) End();
    };
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this,
            [recheck](QClipboard::Mode mode) {
                if (mode == QClipboard::Clipboard) recheck();
            });
    // Qt's word that the clipboard changed may never come; the keeper asks on its own as well.
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, recheck);
    timer->start(RecheckMs);
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
    return ClipboardIsOurs();
}

void ClipboardKeeper::End()
{
    if (loop_) loop_->exit(0);
}

void KeepCopiedPassword()
{
    if (!LingersAfterExit(QGuiApplication::platformName(), ClipboardIsOurs())) return;
    // The window's close may have left a request to quit behind; it must not end the stay.
    QCoreApplication::removePostedEvents(qApp, QEvent::Quit);
    ClipboardKeeper keeper;
    keeper.Run();
}

} // namespace zintrova

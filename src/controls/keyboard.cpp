#include "controls/keyboard.h"

#include "controls/controls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace zintrova {

int VirtualKey(const QKeyEvent &e)
{
    // Qt names a key by what it types: Shift+1 is Key_Exclam, keypad minus Key_Minus.
    const int k = e.key();
    if ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z))
        return k; // the codes coincide for digits and letters
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return vk::F1 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Alt: return vk::Menu;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_PageUp: return vk::Prior;
    case Qt::Key_PageDown: return vk::Next;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Delete: return vk::Delete;
    default: break;
    }
    // Punctuation and every other key: the code is the key's, never the character it types, and
    // the codes of characters such as "!" or "&" are those of PageUp or Up. They share one code
    // that no handler looks at.
    return vk::None;
}

int ShiftState(const QKeyEvent &e)
{
    return ShiftState(e.modifiers());
}

int ShiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? ShiftMask : 0) | (m & Qt::ControlModifier ? CtrlMask : 0) |
           (m & Qt::AltModifier ? AltMask : 0);
}

int MouseButtonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int KeyAscii(const QKeyEvent &e)
{
    const QString t = e.text();
    if (t.size() != 1) return 0;
    const char16_t c = t.at(0).unicode();
    // The Delete key types nothing (X11 reports DEL as its text).
    if (c == 0x7f) return 0;
    // Ctrl with a letter types that letter's control character (Ctrl+V is 22), whether the
    // platform reports it so or reports the bare letter.
    if ((e.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == Qt::ControlModifier &&
        ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
        return c & 0x1f;
    return c < 0x80 ? c : 0;
}

bool DispatchKey(const QKeyEvent &e, const KeyHandlers &h)
{
    int keyCode = VirtualKey(e);
    const int shift = ShiftState(e);
    if (e.type() == QEvent::KeyRelease) {
        // A held key repeats its key-down only; its one key-up comes when it is let go.
        if (e.isAutoRepeat()) return false;
        if (h.KeyUp) h.KeyUp(keyCode, shift);
        return keyCode == 0;
    }
    if (h.KeyDown) h.KeyDown(keyCode, shift);
    int ascii = KeyAscii(e);
    const bool types = ascii != 0;
    if (types && h.KeyPress) h.KeyPress(ascii);
    return types ? ascii == 0 : keyCode == 0;
}

ControlKeys::ControlKeys(QWidget *control, KeyHandlers handlers)
    : QObject(control), handlers_(std::move(handlers))
{
    control->installEventFilter(this);
}

bool ControlKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        return DispatchKey(*static_cast<QKeyEvent *>(event), handlers_);
    return QObject::eventFilter(watched, event);
}

KeyPreview::KeyPreview(QWidget *window, KeyHandlers handlers)
    : QObject(window), window_(window), handlers_(std::move(handlers))
{
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview()
{
    qApp->removeEventFilter(this);
}

CommandButton *KeyPreview::FindButton(bool cancel) const
{
    for (auto *b : window_->findChildren<CommandButton *>())
        if ((cancel ? b->Cancel : b->Default) && b->isVisible()) return b;
    return nullptr;
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !window_ ||
        !watched->isWidgetType())
        return false;
    auto *target = static_cast<QWidget *>(watched);
    // A key event travels from the focused control up to its parents; preview it once, at the
    // control it was sent to. Without a focused control keys go to the window itself, but only
    // while it is active: a key still travelling up after its handler ran a modal window (the
    // About window) has no focus to stop at and must not be previewed a second time.
    QWidget *focus = QApplication::focusWidget();
    if (target->window() != window_ ||
        (focus ? target != focus : target != window_ || QApplication::activeWindow() != window_))
        return false;
    const auto &key = *static_cast<QKeyEvent *>(event);

    if (type == QEvent::KeyPress) {
        if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier) {
            if (auto *cancel = FindButton(true)) {
                if (cancel->isEnabled()) cancel->click();
                return true;
            }
        }
        if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
            (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            auto *pressed = qobject_cast<CommandButton *>(focus);
            if (!pressed) pressed = FindButton(false);
            if (pressed) {
                if (pressed->isEnabled()) pressed->click();
                return true;
            }
        }
    }
    return DispatchKey(key, handlers_);
}

FocusEvents::FocusEvents(QWidget *control, std::function<void()> gotFocus,
                         std::function<void()> lostFocus)
    : QObject(control), got_(std::move(gotFocus)), lost_(std::move(lostFocus))
{
    control->installEventFilter(this);
}

bool FocusEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && got_)
        QTimer::singleShot(0, this, got_);
    else if (event->type() == QEvent::FocusOut && lost_)
        QTimer::singleShot(0, this, lost_);
    return QObject::eventFilter(watched, event);
}

} // namespace zintrova

#pragma once
// Key and focus events in the shape the handlers are written against: virtual-key codes,
// a Shift/Ctrl/Alt mask, KeyCode and KeyAscii passed by reference (a handler consumes a key by
// setting it to 0), window-level key preview with default and cancel buttons, and focus events
// that run after the handler that moved the focus has returned.

#include <QObject>
#include <QPointer>
#include <Qt>
#include <functional>

class QKeyEvent;
class QWidget;

namespace zintrova {

class CommandButton;

// Virtual-key codes of the keys the program looks at.
namespace vk {
inline constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18,
                     Escape = 27, Space = 32, Prior = 33, Next = 34, End = 35, Home = 36, Left = 37,
                     Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46, C = 67, F1 = 112,
                     None = 255; // a key without a code of its own: punctuation, symbols

}
// Bits of the Shift argument.
inline constexpr int ShiftMask = 1, CtrlMask = 2, AltMask = 4;

// The code of the key pressed: the named keys, the digit and letter keys (their ASCII upper-case
// codes) and F1 to F24; vk::None for every other key.
int VirtualKey(const QKeyEvent &e);
int ShiftState(const QKeyEvent &e);
int ShiftState(Qt::KeyboardModifiers modifiers);
// The Button argument of mouse events: 1 left, 2 right, 4 middle, 0 any other.
int MouseButtonCode(Qt::MouseButton button);
// The character code a key press types, or 0 when it types none.
int KeyAscii(const QKeyEvent &e);

struct KeyHandlers {
    std::function<void(int &keyCode, int shift)> KeyDown;
    std::function<void(int &keyAscii)> KeyPress;
    std::function<void(int &keyCode, int shift)> KeyUp;
};

// Runs a Qt key event through KeyDown and KeyPress (press) or KeyUp (release). Returns true when
// the handlers consumed the key, so that the control must not act on it. A held key repeats its
// KeyDown (and KeyPress); the releases Qt reports between the repeats raise no KeyUp.
bool DispatchKey(const QKeyEvent &e, const KeyHandlers &h);

// Key events of one control, raised before the control acts on them.
class ControlKeys : public QObject {
public:
    ControlKeys(QWidget *control, KeyHandlers handlers);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyHandlers handlers_;
};

// Window-level key preview: every key meant for a control of the window reaches the window's
// handlers first. Enter presses the focused command button, or else the window's default button;
// Escape presses the window's cancel button while one is armed, and then raises no key events.
class KeyPreview : public QObject {
public:
    KeyPreview(QWidget *window, KeyHandlers handlers);
    ~KeyPreview() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CommandButton *FindButton(bool cancel) const;
    QPointer<QWidget> window_;
    KeyHandlers handlers_;
};

// GotFocus and LostFocus of one control. They are queued, so a handler that moves the focus
// has returned (and finished its own work) before the focus handlers run.
class FocusEvents : public QObject {
public:
    FocusEvents(QWidget *control, std::function<void()> gotFocus, std::function<void()> lostFocus);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> got_, lost_;
};

} // namespace zintrova

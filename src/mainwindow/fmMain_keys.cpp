// Keyboard handling at window level. Every key meant for a control reaches these handlers
// first (see KeyPreview); a key they do not consume goes on to the control.

#include "mainwindow/fmMain.h"

#include "controls/keyboard.h"

#include <QApplication>
#include <QLineEdit>

namespace zintrova {

void fmMain::Form_KeyDown(int &KeyCode, int Shift)
{
    // Escape works in two strokes: the first arms Exit as the cancel button (and, without
    // modifiers, puts the focus on it), the second presses it. Any other key disarms it.
    cmExit->Cancel = KeyCode == vk::Escape;
    if (KeyCode == vk::F1) KeyCode = 0;
    if (Shift == CtrlMask) {
        CopyShortcut(KeyCode);
    } else if (Shift == 0 && KeyCode == vk::Escape) {
        cmExit->setFocus(Qt::OtherFocusReason);
    }
}

void fmMain::Form_KeyPress(int &KeyAscii)
{
    if (KeyAscii >= '0' && KeyAscii <= '9') {
        if (CountFocusDue && QApplication::focusWidget() == txNum) {
            // The box has the focus but has not yet typed the first digit in: this one follows.
            FollowingKeys += QChar(char16_t(KeyAscii));
            KeyAscii = 0;
            return;
        }
        // The count box types this digit in when it gets the focus.
        const bool elsewhere = QApplication::focusWidget() != txNum;
        txNum->setFocus(Qt::OtherFocusReason);
        PendingKey = static_cast<std::int16_t>(KeyAscii);
        CountFocusDue = elsewhere && QApplication::focusWidget() == txNum;
    } else {
        PendingKey = 0;
        FollowingKeys.clear();
    }
}

void fmMain::Form_KeyUp(int &KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == vk::F1) cmHelp_Click(); // F1 opens the About window on release
}

} // namespace zintrova

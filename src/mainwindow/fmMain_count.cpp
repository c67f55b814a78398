// The password count: the text box txNum, the spinner spNum beside it with its auto-repeat
// tmSpin, the keys that step the count, and the window's three modes that follow it.

#include "mainwindow/fmMain.h"

#include "controls/contrast.h"
#include "controls/keyboard.h"
#include "engine/number.h"
#include "settings/record.h"

#include <QApplication>
#include <QKeyEvent>

namespace zintrova {

namespace {

std::int16_t Sign(int v)
{
    return static_cast<std::int16_t>((v > 0) - (v < 0));
}

} // namespace

// The count as the text reads: its leading number, as a 16-bit integer. Only pasted text can
// hold a sign; a negative count is no count, so it reads as 0 like an empty box.
std::int16_t fmMain::ReadCount() const
{
    const std::int16_t n = ReadInt16(txNum->text().toStdString());
    return n < 0 ? std::int16_t(0) : n;
}

// The count box's background in the mode for the count n: the system's window background for
// one password, light red for no count, light yellow for a batch.
QColor fmMain::CountBackColor(std::int16_t n) const
{
    if (n == 1) return palette().color(QPalette::Base);
    return n == 0 ? QColor(255, 128, 128) : QColor(255, 255, 192);
}

// The count box's background, and a text colour that reads on it: the system's text colour
// unless that is too light for the fixed light red and yellow of a dark scheme.
void fmMain::SetCountColours(const QColor &back)
{
    txNum->setBackColor(back);
    const QRgb text = palette().color(QPalette::Text).rgb();
    txNum->setForeColor(QColor::fromRgb(ReadableOn(back.rgb(), {text})));
}

// A new colour scheme: the count box's colours chosen again from it. Those chosen under the old
// scheme may no longer read, and a theme tool may have replaced them with its own.
void fmMain::ApplyColours()
{
    SetCountColours(CountBackColor(ReadCount()));
}

void fmMain::txNum_Change()
{
    spNum->setMuted(true); // the spinner's change handling only records the value
    std::int16_t n = ReadCount();
    if (n == 1) {
        // single: Copy copies the password on show
        cmCopy->setFontBold(false);
        cmCopy->setText(QStringLiteral("&Copy to Clipboard"));
        cmGen->setEnabled(true);
        cmCopy->setEnabled(true);
        lbPass->setForeColor(palette().color(QPalette::ToolTipText));
        SetCountColours(CountBackColor(n));
    } else if (n == 0) {
        // invalid: nothing to copy until the box holds a count again
        cmGen->setEnabled(false);
        cmCopy->setEnabled(false);
        SetCountColours(CountBackColor(n));
    } else {
        // batch: Copy makes that many new passwords
        cmCopy->setText(QStringLiteral("Multi&copy"));
        cmCopy->setFontBold(true);
        cmCopy->setEnabled(true);
        cmGen->setEnabled(false);
        lbPass->setForeColor(palette().color(QPalette::Disabled, QPalette::WindowText));
        SetCountColours(CountBackColor(n));
        shCopy->setVisible(false);
    }
    if (n == 0) n = 1;
    CountValue = n;
    spNum->setValue(n);
    spNum->setMuted(false);
}

void fmMain::spNum_Change()
{
    const std::int16_t old = LastNum;
    LastNum = static_cast<std::int16_t>(spNum->Value());
    if (!spNum->Muted()) {
        txNum->setText(QString::number(LastNum));
        SpinDir = Sign(LastNum - old);
    }
}

void fmMain::spNum_UpClick()
{
    SpinDir = 1;
}

void fmMain::spNum_DownClick()
{
    SpinDir = -1;
}

void fmMain::spNum_MouseDown(int Button, int Shift, float X, float Y)
{
    (void)Button, (void)Shift, (void)X, (void)Y;
    // The auto-repeat starts a second after the press.
    tmSpin->setEnabled(false);
    tmSpin->setInterval(1000);
    tmSpin->setEnabled(true);
    txNum->setFocus(Qt::OtherFocusReason);
}

void fmMain::spNum_MouseUp(int Button, int Shift, float X, float Y)
{
    (void)Button, (void)Shift, (void)X, (void)Y;
    tmSpin->setEnabled(false);
    SpinDir = 0;
}

void fmMain::tmSpin_Timer()
{
    tmSpin->setEnabled(false);
    int n = spNum->Value() + SpinDir + Sign(SpinDir) * SpinExtra;
    n = std::clamp<int>(n, 1, settings::CountMax);
    spNum->setValue(n); // writes the text, and sets SpinDir to the direction of the step
    tmSpin->setInterval(50);
    tmSpin->setEnabled(true);
}

void fmMain::txNum_KeyDown(int &KeyCode, int Shift)
{
    int n = ReadCount();
    SpinExtra = (Shift & ShiftMask) ? 4 : 0;
    int step = 0;
    switch (KeyCode) {
    case vk::Prior: step = 5; break;
    case vk::Next: step = -5; break;
    case vk::Up: step = 1; break;
    case vk::Down: step = -1; break;
    case vk::End:
    case vk::Home:
        if (Shift == CtrlMask) step = 1 - n;
        break;
    default: break;
    }
    if (step != 0) {
        n += step;
        if (n > spNum->Max())
            n = spNum->Max();
        else if (n < 1)
            n = 1;
        txNum->setText(QString::number(n));
    }
    // The key goes on to the box: Home and End still move the caret.
}

void fmMain::txNum_KeyUp(int &KeyCode, int Shift)
{
    (void)KeyCode;
    SpinExtra = (Shift & ShiftMask) ? 4 : 0;
}

void fmMain::txNum_KeyPress(int &KeyAscii)
{
    // Control characters (Backspace among them) and digits; nothing else gets in.
    if (KeyAscii >= 32 && (KeyAscii < '0' || KeyAscii > '9')) KeyAscii = 0;
}

void fmMain::txNum_GotFocus()
{
    txNum->setSelection(0, 99);
    QString keys = FollowingKeys;
    if (PendingKey != 0) keys.prepend(QChar(char16_t(PendingKey)));
    FollowingKeys.clear();
    CountFocusDue = false;
    // The digits typed while another control had the focus: typed again, now into the box,
    // through the event queue so that each arrives as a keystroke of its own.
    if (QWidget *focus = QApplication::focusWidget()) {
        for (QChar digit : keys) {
            const auto key = static_cast<Qt::Key>(Qt::Key_0 + (digit.unicode() - '0'));
            QCoreApplication::postEvent(
                focus, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, digit));
            QCoreApplication::postEvent(
                focus, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, digit));
        }
    }
}

void fmMain::txNum_LostFocus()
{
    if (ReadCount() == 0) txNum->setText(QStringLiteral("1"));
    PendingKey = 0;
    FollowingKeys.clear();
    CountFocusDue = false;
}

void fmMain::txNum_DblClick()
{
    if (Busy != busy::Idle) return;
    txNum->setText(QStringLiteral("1"));
}

} // namespace zintrova

// Copying passwords to the clipboard: the password on show, or a batch of new ones, one per
// line; the countdown, "Done" and the timed restore; the copy shortcut; and the copy button's
// readiness.

#include "mainwindow/fmMain.h"

#include "controls/keyboard.h"
#include "engine/secret.h"

#include <QCoreApplication>
#include <QPointer>

namespace zintrova {

namespace {

// How many passwords of a batch pass between two rewrites of the countdown.
int ProgressStep(int count)
{
    if (count <= 50) return 1;
    if (count <= 120) return 2;
    if (count <= 300) return 3;
    return 5;
}

} // namespace

void fmMain::cmCopy_Click()
{
    if (Busy != busy::Idle) return;
    const std::int16_t count = ReadCount();
    // An empty or zero count copies nothing: the clipboard keeps what the user had there. Nor
    // does a window with no password to give: no set on (a settings file can say so) leaves the
    // label empty, and empty lines are no passwords.
    if (count < 1 || (count == 1 ? lbPass->Caption().isEmpty() : !CanCompose())) return;
    shCopy->setVisible(false);
    // A notice of a failed copy still on show ends here; its restore must not run into this copy.
    const bool noticeShown = tmTimer->Enabled();
    tmTimer->setEnabled(false);
    if (count == 1)
        CopySingle(noticeShown);
    else if (!CopyBatch(count))
        return; // stopped early: the window may be gone
    cmExit->setFocus(Qt::OtherFocusReason);
}

// The password on show, alone. Not copied, the copy says so: the frame that marks a password not
// yet copied stays, and the button reads "Failed" until the copy timer's tick.
void fmMain::CopySingle(bool noticeShown)
{
    Busy = busy::SingleCopy;
    const bool copied = Clip->SetText(lbPass->Caption());
    Busy = busy::Idle;
    if (copied) {
        if (noticeShown) txNum_Change(); // puts the caption back
        return;
    }
    shCopy->setVisible(true);
    cmCopy->setText(QStringLiteral("Failed"));
    tmTimer->setEnabled(true);
}

// `count` new passwords, each followed by CR LF, with the countdown in the copy button's caption;
// then "Done" (or "Failed") over an empty label until the copy timer's tick restores the window.
// False when the batch stopped early and copied nothing: the window closed meanwhile, or there
// were no secure random numbers for the rest of it.
bool fmMain::CopyBatch(int count)
{
    Busy = busy::BatchCopy;
    cmGen->setEnabled(false);
    const int step = ProgressStep(count);
    // Room for the longest passwords, so that the text never moves while it grows. Once on the
    // clipboard it is the clipboard's to overwrite; a batch that stops early overwrites it here.
    QString buffer;
    buffer.reserve(count * 42);
    const ReleaseAtExit releaseBuffer(buffer);
    int countdown = 0;
    const QPointer<fmMain> self(this);
    for (int r = count; r >= 1; --r) {
        if (countdown == 0) {
            cmCopy->setText(QStringLiteral(" %1").arg(r));
            countdown = step;
        }
        --countdown;
        GeneratePass();
        if (randomFailed_) {
            // The password label's tooltip says why nothing was copied.
            Busy = busy::Idle;
            txNum_Change();
            return false;
        }
        buffer += lbPass->Caption();
        buffer += QLatin1String("\r\n");
        // The window shows each password and keeps reacting while the batch runs: the pending
        // events run once per password. The guarded handlers see Busy and do nothing, but a
        // slider moved now changes the lengths still to come, and the close box, which does not
        // wait for the batch, may close the window: then the batch stops and leaves the window
        // and the clipboard alone.
        lbPass->repaint();
        QCoreApplication::processEvents();
        if (!self || unloaded_) return false;
    }
    const bool copied = Clip->SetText(buffer);
    lbPass->setCaption(QString());
    cmCopy->setText(copied ? QStringLiteral("Done") : QStringLiteral("Failed"));
    tmTimer->setEnabled(false);
    tmTimer->setEnabled(true);
    return true;
}

void fmMain::tmTimer_Timer()
{
    tmTimer->setEnabled(false);
    if (Busy != busy::BatchCopy) {
        // The end of a failed single copy's notice: only the caption goes back.
        txNum_Change();
        return;
    }
    cmCopy->setText(QStringLiteral("Multi&copy"));
    cmCopy->setFontBold(true);
    cmGen->setEnabled(true);
    Busy = busy::Idle;
    GeneratePass();
    txNum_Change();
}

// Ctrl+C and Ctrl+Insert act as the copy button in single mode.
void fmMain::CopyShortcut(int KeyCode)
{
    if ((KeyCode == vk::C || KeyCode == vk::Insert) && CountValue == 1) cmCopy_Click();
}

void fmMain::lbPass_Change()
{
    cmCopy->setEnabled(true);
    // In single-copy mode a new password is marked as not yet copied.
    shCopy->setVisible(CountValue <= 1);
}

} // namespace zintrova

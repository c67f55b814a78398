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
    // An empty or zero count copies nothing: the clipboard keeps what the user had there.
    if (count < 1) return;
    // Nor does a window with no password to give: no set on (a settings file can say so) leaves
    // the label empty, and empty lines are no passwords.
    if (count == 1 ? lbPass->Caption().isEmpty() : !CanCompose()) return;
    shCopy->setVisible(false);
    // A notice of a failed copy still on show ends here; its restore must not run into this copy.
    const bool noticeShown = tmTimer->Enabled();
    tmTimer->setEnabled(false);

    if (count == 1) {
        Busy = busy::SingleCopy;
        const bool copied = Clip->SetText(lbPass->Caption());
        Busy = busy::Idle;
        if (copied) {
            if (noticeShown) txNum_Change(); // puts the caption back
        } else {
            // Not copied: the frame stays to say so, and the button reads "Failed" for a while.
            shCopy->setVisible(true);
            cmCopy->setText(QStringLiteral("Failed"));
            tmTimer->setEnabled(true);
        }
    } else {
        Busy = busy::BatchCopy;
        cmGen->setEnabled(false);
        const int step = ProgressStep(count);
        // Room for the longest passwords, so that the text never moves while it grows. Once on
        // the clipboard it is the clipboard's to overwrite; a batch that stops early overwrites it
        // here.
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
                // No secure random numbers for the rest of the batch: nothing is copied, and
                // the password label's tooltip says why.
                Busy = busy::Idle;
                txNum_Change();
                return;
            }
            buffer += lbPass->Caption();
            buffer += QLatin1String("\r\n");
            lbPass->repaint();
            QCoreApplication::processEvents();
            // The window closed meanwhile (its close box does not wait for the batch): stop
            // here and leave the window and the clipboard alone.
            if (!self || unloaded_) return;
        }
        const bool copied = Clip->SetText(buffer);
        lbPass->setCaption(QString());
        cmCopy->setText(copied ? QStringLiteral("Done") : QStringLiteral("Failed"));
        tmTimer->setEnabled(false);
        tmTimer->setEnabled(true);
    }
    cmExit->setFocus(Qt::OtherFocusReason);
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

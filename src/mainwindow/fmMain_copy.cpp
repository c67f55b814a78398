// Copying passwords to the clipboard, and the copy button's readiness.

#include "mainwindow/fmMain.h"

namespace zintrova {

void fmMain::lbPass_Change() {
    cmCopy->setEnabled(true);
    // In single-copy mode a new password is marked as not yet copied.
    shCopy->setVisible(CountValue <= 1);
}

} // namespace zintrova

// The "?" button (and F1, see fmMain_keys.cpp): the About window, shown modally.

#include "mainwindow/fmMain.h"

#include "about/fmAbout.h"

#include <QCoreApplication>

namespace zintrova {

void fmMain::cmHelp_Click()
{
    QCoreApplication::processEvents();
    {
        fmAbout about(this); // a fresh window for every showing
        about.exec();
    }
    // Back to this window (the desktop usually does that by itself) with the focus on the
    // minimum-length slider.
    activateWindow();
    sldLen[0]->setFocus(Qt::OtherFocusReason);
}

} // namespace zintrova

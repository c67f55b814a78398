#pragma once
// A window on show to test with, and what the count's three modes set on its controls.

#include "controls/fonts.h"
#include "probe.h"

#include <QTest>

namespace zintrova {

enum class Mode { Single, Invalid, Batch };

inline QWidget *Focus()
{
    return QApplication::focusWidget();
}

// A shown, active window (a failed activation is recorded as the test's failure).
struct Shown {
    fmMain w;
    fmMainProbe p{w};
    Shown()
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
};

// Compares the controls with the mode's row of settings. The invalid mode names only the two
// buttons' enabling and the box's colour; the rest is the caller's to check.
inline void CheckMode(fmMainProbe &p, Mode mode)
{
    const QPalette &pal = p.w.palette();
    const bool batch = mode == Mode::Batch;
    QCOMPARE(p.cmGen()->isEnabled(), mode == Mode::Single);
    QCOMPARE(p.cmCopy()->isEnabled(), mode != Mode::Invalid);
    const QColor back[] = {pal.color(QPalette::Base), QColor(255, 128, 128), QColor(255, 255, 192)};
    QCOMPARE(p.txNum()->BackColor(), back[int(mode)]);
    if (mode == Mode::Invalid) return;
    QCOMPARE(p.cmCopy()->text(), batch ? "Multi&copy" : "&Copy to Clipboard");
    QCOMPARE(p.cmCopy()->FontBold(), batch);
    QCOMPARE(p.lbPass()->ForeColor(), batch ? pal.color(QPalette::Disabled, QPalette::WindowText)
                                            : pal.color(QPalette::ToolTipText));
    if (batch) QVERIFY(p.shCopy()->isHidden());
}

} // namespace zintrova

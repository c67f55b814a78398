#pragma once
// What the count's three modes set on the window's controls.

#include "probe.h"

#include <QTest>

namespace zintrova {

enum class Mode { Single, Invalid, Batch };

// Compares the controls with the mode's row of settings. The invalid mode names only the two
// buttons' enabling and the box's colour; the rest is the caller's to check.
inline void CheckMode(fmMainProbe &p, Mode mode)
{
    const QPalette &pal = p.w.palette();
    switch (mode) {
    case Mode::Single:
        QCOMPARE(p.cmCopy()->text(), QStringLiteral("&Copy to Clipboard"));
        QCOMPARE(p.cmCopy()->FontBold(), false);
        QVERIFY(p.cmGen()->isEnabled());
        QVERIFY(p.cmCopy()->isEnabled());
        QCOMPARE(p.lbPass()->ForeColor(), pal.color(QPalette::ToolTipText));
        QCOMPARE(p.txNum()->BackColor(), pal.color(QPalette::Base));
        break;
    case Mode::Invalid:
        QVERIFY(!p.cmGen()->isEnabled());
        QVERIFY(!p.cmCopy()->isEnabled());
        QCOMPARE(p.txNum()->BackColor(), QColor(255, 128, 128));
        break;
    case Mode::Batch:
        QCOMPARE(p.cmCopy()->text(), QStringLiteral("Multi&copy"));
        QCOMPARE(p.cmCopy()->FontBold(), true);
        QVERIFY(p.cmCopy()->isEnabled());
        QVERIFY(!p.cmGen()->isEnabled());
        QCOMPARE(p.lbPass()->ForeColor(), pal.color(QPalette::Disabled, QPalette::WindowText));
        QCOMPARE(p.txNum()->BackColor(), QColor(255, 255, 192));
        QVERIFY(p.shCopy()->isHidden());
        break;
    }
}

} // namespace zintrova

// The password count on the offscreen platform: the three modes, typing and pasting into the
// box, the stepping keys, the digit typed elsewhere, leaving an empty box, the double-click, and
// the spinner with its own auto-repeat and the window's tmSpin repeat.

#include "mainwindow/fonts.h"
#include "modes.h"

#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

using namespace zintrova;

namespace {

QWidget *Focus()
{
    return QApplication::focusWidget();
}

// Keys go where the keyboard sends them: to the control that has the focus.
void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(Focus(), key, mods);
}

QPoint Centre(const QRect &r)
{
    return r.center();
}

} // namespace

class TestCount : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void modes_data();
    void modes();
    void invalidKeepsWhatItDoesNotName();
    void typingTakesDigitsOnly();
    void pasteIsCutToThree_data();
    void pasteIsCutToThree();
    void keySteps_data();
    void keySteps();
    void digitElsewhereBecomesCount_data();
    void digitElsewhereBecomesCount();
    void leavingInvalidBoxPutsOneBack_data();
    void leavingInvalidBoxPutsOneBack();
    void closedWindowLeavesBoxAlone();
    void doubleClickSetsOneUnlessBusy();
    void spinnerArrows_data();
    void spinnerArrows();
    void spinnerKeysKeepFocus();
    void muteSwitch();
    void autoRepeat();
    void spinnerRepeatsWhileHeld();
};

void TestCount::modes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");
    const int single = int(Mode::Single), invalid = int(Mode::Invalid), batch = int(Mode::Batch);
    QTest::newRow("1") << "1"
                       << "1" << single << 1;
    QTest::newRow("01") << "01"
                        << "01" << single << 1;
    QTest::newRow("+1 pasted") << "+1"
                               << "+1" << single << 1;
    QTest::newRow("2") << "2"
                       << "2" << batch << 2;
    QTest::newRow("007 reads 7, stays as typed") << "007"
                                                 << "007" << batch << 7;
    QTest::newRow("999") << "999"
                         << "999" << batch << 999;
    QTest::newRow("blank before the number") << " 12"
                                             << " 12" << batch << 12;
    QTest::newRow("long text is cut to three") << "12345"
                                               << "123" << batch << 123;
    QTest::newRow("empty") << ""
                           << "" << invalid << 1;
    QTest::newRow("0") << "0"
                       << "0" << invalid << 1;
    QTest::newRow("000") << "000"
                         << "000" << invalid << 1;
    QTest::newRow("no number") << "x5"
                               << "x5" << invalid << 1;
    QTest::newRow("negative is invalid") << "-5"
                                         << "-5" << invalid << 1;
    QTest::newRow("negative, three characters") << "-99"
                                                << "-99" << invalid << 1;
}

void TestCount::modes()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(int, mode);
    QFETCH(int, count);
    fmMain w;
    fmMainProbe p{w};
    w.show();
    p.txNum()->setText(text);
    QCOMPARE(p.txNum()->text(), shown);
    CheckMode(p, Mode(mode));
    if (QTest::currentTestFailed()) return;
    QCOMPARE(p.CountValue(), std::int16_t(count));
    QCOMPARE(p.spNum()->Value(), count);
    // The spinner starts at 1, so only another count is a change it records.
    QCOMPARE(p.LastNum(), std::int16_t(count == 1 ? 0 : count));
    if (Mode(mode) == Mode::Invalid) {
        // Coming from single mode, what the invalid row does not name stays as it was.
        QCOMPARE(p.cmCopy()->text(), QStringLiteral("&Copy to Clipboard"));
        QCOMPARE(p.cmCopy()->FontBold(), false);
    }
}

void TestCount::invalidKeepsWhatItDoesNotName()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    p.txNum()->setText(QStringLiteral("5"));
    p.txNum()->setText(QString());
    CheckMode(p, Mode::Invalid);
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Multi&copy"));
    QCOMPARE(p.cmCopy()->FontBold(), true);
    QCOMPARE(p.lbPass()->ForeColor(), w.palette().color(QPalette::Disabled, QPalette::WindowText));
    // Back to a count: the mode's full row applies again.
    p.txNum()->setText(QStringLiteral("1"));
    CheckMode(p, Mode::Single);
}

void TestCount::typingTakesDigitsOnly()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    p.txNum()->setFocus();
    p.txNum()->selectAll();
    QTest::keyClicks(Focus(), QStringLiteral("a -.+,xZ"));
    QCOMPARE(p.txNum()->text(), QStringLiteral("1")); // nothing got in, the selection stays
    QTest::keyClicks(Focus(), QStringLiteral("4"));
    QCOMPARE(p.txNum()->text(), QStringLiteral("4"));
    QTest::keyClicks(Focus(), QStringLiteral("5/6:7"));
    QCOMPARE(p.txNum()->text(), QStringLiteral("456")); // three characters at most
    CheckMode(p, Mode::Batch);
    Key(Qt::Key_Backspace);
    QCOMPARE(p.txNum()->text(), QStringLiteral("45"));
    Key(Qt::Key_Home);
    // Delete as X11 reports it, with the DEL character as its text.
    const QString del{QChar(0x7f)};
    QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_Delete, del, Qt::NoModifier);
    QCOMPARE(p.txNum()->text(), QStringLiteral("5"));
    QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_Delete, del, Qt::NoModifier);
    QCOMPARE(p.txNum()->text(), QString());
    CheckMode(p, Mode::Invalid);
    QTest::keyClicks(Focus(), QStringLiteral("0"));
    CheckMode(p, Mode::Invalid);
    Key(Qt::Key_Backspace);
    QTest::keyClicks(Focus(), QStringLiteral("1"));
    CheckMode(p, Mode::Single);
}

void TestCount::pasteIsCutToThree_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("mode");
    QTest::newRow("long number") << "12345"
                                 << "123" << int(Mode::Batch);
    QTest::newRow("negative") << "-5"
                              << "-5" << int(Mode::Invalid);
    QTest::newRow("long negative") << "-1234"
                                   << "-12" << int(Mode::Invalid);
    QTest::newRow("exponent form") << "1e5"
                                   << "1e5" << int(Mode::Single);
    QTest::newRow("words") << "ten"
                           << "ten" << int(Mode::Invalid);
}

void TestCount::pasteIsCutToThree()
{
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QFETCH(int, mode);
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QGuiApplication::clipboard()->setText(pasted);
    p.txNum()->setFocus();
    p.txNum()->selectAll();
    Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(p.txNum()->text(), shown);
    CheckMode(p, Mode(mode));
    // Whatever was pasted, the count that reaches the spinner lies in 1..999.
    QVERIFY(p.CountValue() >= 1 && p.CountValue() <= 999);
    QCOMPARE(p.spNum()->Value(), int(p.CountValue()));
}

void TestCount::keySteps_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("mods");
    QTest::addColumn<QString>("expected");
    const int none = Qt::NoModifier, ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    QTest::newRow("Up") << "5" << int(Qt::Key_Up) << none << "6";
    QTest::newRow("Down") << "5" << int(Qt::Key_Down) << none << "4";
    QTest::newRow("PageUp") << "5" << int(Qt::Key_PageUp) << none << "10";
    QTest::newRow("PageDown") << "10" << int(Qt::Key_PageDown) << none << "5";
    QTest::newRow("Up at 999 stays") << "999" << int(Qt::Key_Up) << none << "999";
    QTest::newRow("PageUp at 997") << "997" << int(Qt::Key_PageUp) << none << "999";
    QTest::newRow("Down at 1 stays") << "1" << int(Qt::Key_Down) << none << "1";
    QTest::newRow("PageDown at 3") << "3" << int(Qt::Key_PageDown) << none << "1";
    QTest::newRow("Shift+Up steps 1") << "5" << int(Qt::Key_Up) << shift << "6";
    QTest::newRow("Ctrl+Home") << "50" << int(Qt::Key_Home) << ctrl << "1";
    QTest::newRow("Ctrl+End") << "50" << int(Qt::Key_End) << ctrl << "1";
    QTest::newRow("Ctrl+Shift+Home") << "50" << int(Qt::Key_Home) << (ctrl | shift) << "50";
    QTest::newRow("Home") << "50" << int(Qt::Key_Home) << none << "50";
    QTest::newRow("End") << "50" << int(Qt::Key_End) << none << "50";
    QTest::newRow("007 Up") << "007" << int(Qt::Key_Up) << none << "8";
    QTest::newRow("empty Up") << "" << int(Qt::Key_Up) << none << "1";
    QTest::newRow("empty PageUp") << "" << int(Qt::Key_PageUp) << none << "5";
    QTest::newRow("negative PageUp") << "-5" << int(Qt::Key_PageUp) << none << "5";
    QTest::newRow("negative Down") << "-5" << int(Qt::Key_Down) << none << "1";
}

void TestCount::keySteps()
{
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(int, mods);
    QFETCH(QString, expected);
    const int none = Qt::NoModifier;
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    p.txNum()->setText(start);
    p.txNum()->setFocus();
    p.txNum()->setCursorPosition(1);
    Key(Qt::Key(key), Qt::KeyboardModifiers(mods));
    QCOMPARE(p.txNum()->text(), expected);
    QCOMPARE(p.CountValue(), std::int16_t(qMax(1, expected.toInt())));
    QCOMPARE(p.spNum()->Value(), int(p.CountValue()));
    // The key still reaches the box: Home and End move the caret.
    if (mods == none && key == Qt::Key_Home) QCOMPARE(p.txNum()->cursorPosition(), 0);
    if (mods == none && key == Qt::Key_End)
        QCOMPARE(p.txNum()->cursorPosition(), int(expected.size()));
}

void TestCount::digitElsewhereBecomesCount_data()
{
    QTest::addColumn<int>("control"); // 0 slider, 1 check box, 2 Exit, 3 the spinner
    QTest::newRow("slider") << 0;
    QTest::newRow("check box") << 1;
    QTest::newRow("Exit button") << 2;
    QTest::newRow("spinner") << 3;
}

void TestCount::digitElsewhereBecomesCount()
{
    QFETCH(int, control);
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    p.txNum()->setText(QStringLiteral("123"));
    QWidget *const controls[] = {p.sldLen(1), p.cbSet(2), p.cmExit(), p.spNum()};
    controls[control]->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(Focus(), controls[control]);
    Key(Qt::Key_7);
    QTRY_COMPARE(p.txNum()->text(), QStringLiteral("7"));
    QCOMPARE(Focus(), static_cast<QWidget *>(p.txNum()));
    CheckMode(p, Mode::Batch);
    QCOMPARE(p.sldLen(1)->value(), 8);
    QCOMPARE(p.cbSet(2)->Value(), 1);
    QCOMPARE(p.spNum()->Value(), 7);
    // The next digit, typed in the box itself, simply goes on.
    Key(Qt::Key_2);
    QCOMPARE(p.txNum()->text(), QStringLiteral("72"));
    QCoreApplication::processEvents();
    QCOMPARE(p.txNum()->text(), QStringLiteral("72"));
}

void TestCount::leavingInvalidBoxPutsOneBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("0") << "0";
    QTest::newRow("000") << "000";
    QTest::newRow("negative") << "-5";
}

void TestCount::leavingInvalidBoxPutsOneBack()
{
    QFETCH(QString, text);
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    p.txNum()->setFocus();
    QCoreApplication::processEvents(); // the box's GotFocus
    p.txNum()->setText(text);
    CheckMode(p, Mode::Invalid);
    p.PendingKey() = '4'; // a digit typed in the box earlier
    p.sldLen(0)->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(p.txNum()->text(), QStringLiteral("1"));
    CheckMode(p, Mode::Single);
    QCOMPARE(p.PendingKey(), std::int16_t(0));

    // A valid count stays when the box is left.
    p.txNum()->setText(QStringLiteral("12"));
    p.txNum()->setFocus();
    QCoreApplication::processEvents();
    p.sldLen(0)->setFocus(Qt::TabFocusReason);
    QTest::qWait(20);
    QCOMPARE(p.txNum()->text(), QStringLiteral("12"));
}

void TestCount::closedWindowLeavesBoxAlone()
{
    // Closing the window takes the focus from the box too, but a closed window is not touched.
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    p.txNum()->setFocus();
    QCoreApplication::processEvents();
    p.txNum()->setText(QString());
    w.close();
    QTest::qWait(20);
    QCOMPARE(p.txNum()->text(), QString());
}

void TestCount::doubleClickSetsOneUnlessBusy()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    p.txNum()->setText(QStringLiteral("50"));
    p.Busy() = 2;
    QTest::mouseDClick(p.txNum(), Qt::LeftButton);
    QCOMPARE(p.txNum()->text(), QStringLiteral("50"));
    CheckMode(p, Mode::Batch);
    p.Busy() = 0;
    QTest::mouseDClick(p.txNum(), Qt::LeftButton);
    QCOMPARE(p.txNum()->text(), QStringLiteral("1"));
    CheckMode(p, Mode::Single);
}

void TestCount::spinnerArrows_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("spinDir"); // while the button is held
    QTest::newRow("up") << "5" << true << "6" << 1;
    QTest::newRow("down") << "5" << false << "4" << -1;
    QTest::newRow("up at 999") << "999" << true << "999" << 1;
    QTest::newRow("down at 1") << "1" << false << "1" << -1;
    QTest::newRow("up from empty") << "" << true << "2" << 1;
    QTest::newRow("up from 007") << "007" << true << "8" << 1;
}

void TestCount::spinnerArrows()
{
    QFETCH(QString, start);
    QFETCH(bool, up);
    QFETCH(QString, expected);
    QFETCH(int, spinDir);
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    p.sldLen(0)->setFocus(Qt::TabFocusReason);
    p.txNum()->setText(start);
    UpDown *sp = p.spNum();
    QSignalSpy down(sp, &UpDown::MouseDown), release(sp, &UpDown::MouseUp);
    QSignalSpy ups(sp, &UpDown::UpClick), downs(sp, &UpDown::DownClick);
    const QPoint at = Centre(up ? sp->UpRect() : sp->DownRect());
    QTest::mousePress(sp, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(down.count(), 1);
    QCOMPARE(p.txNum()->text(), expected);
    QCOMPARE(p.SpinDir(), std::int16_t(spinDir));
    QCOMPARE(p.tmSpin()->Enabled(), true);
    QCOMPARE(p.tmSpin()->Interval(), 1000);
    QCOMPARE(ups.count(), up ? 1 : 0);
    QCOMPARE(downs.count(), up ? 0 : 1);
    QTest::mouseRelease(sp, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(release.count(), 1);
    QCOMPARE(p.tmSpin()->Enabled(), false);
    QCOMPARE(p.SpinDir(), std::int16_t(0));
    // The click moved the focus to the box, whose text is selected as it arrives.
    QTRY_COMPARE(Focus(), static_cast<QWidget *>(p.txNum()));
    QTRY_COMPARE(p.txNum()->selectedText(), expected);
    QCOMPARE(p.spNum()->Value(), qMax(1, expected.toInt()));
}

void TestCount::spinnerKeysKeepFocus()
{
    // Tabbed onto the spinner, the arrow keys step it. Muting the spinner while the box follows
    // must not push the focus away from it.
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    p.txNum()->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), static_cast<QWidget *>(p.spNum()));
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    QCOMPARE(p.txNum()->text(), QStringLiteral("3"));
    QCOMPARE(Focus(), static_cast<QWidget *>(p.spNum()));
    Key(Qt::Key_Down);
    QCOMPARE(p.txNum()->text(), QStringLiteral("2"));
    QCOMPARE(p.SpinDir(), std::int16_t(-1));
    QCOMPARE(Focus(), static_cast<QWidget *>(p.spNum()));
}

void TestCount::muteSwitch()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    p.txNum()->setText(QStringLiteral("4"));
    p.spNum()->setEnabled(false);
    p.spNum()->setValue(7);
    QCOMPARE(p.txNum()->text(), QStringLiteral("4")); // muted: only the value is recorded
    QCOMPARE(p.LastNum(), std::int16_t(7));
    const std::int16_t dir = p.SpinDir();
    // A muted spinner ignores the mouse.
    QTest::mouseClick(p.spNum(), Qt::LeftButton, Qt::NoModifier, Centre(p.spNum()->UpRect()));
    QCOMPARE(p.spNum()->Value(), 7);
    QCOMPARE(p.SpinDir(), dir);
    p.spNum()->setEnabled(true);
    p.spNum()->setValue(5);
    QCOMPARE(p.txNum()->text(), QStringLiteral("5"));
    QCOMPARE(p.SpinDir(), std::int16_t(-1)); // from the recorded 7 down to 5
    QCOMPARE(p.CountValue(), std::int16_t(5));
}

void TestCount::autoRepeat()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    p.txNum()->setText(QStringLiteral("10"));
    UpDown *sp = p.spNum();
    const QPoint upArrow = Centre(sp->UpRect()), downArrow = Centre(sp->DownRect());

    QTest::mousePress(sp, Qt::LeftButton, Qt::NoModifier, upArrow);
    QCOMPARE(p.txNum()->text(), QStringLiteral("11")); // the spinner's own step
    QCOMPARE(p.tmSpin()->Interval(), 1000);
    p.tmSpin()->Fire();
    QCOMPARE(p.txNum()->text(), QStringLiteral("12"));
    QCOMPARE(p.tmSpin()->Interval(), 50);
    QVERIFY(p.tmSpin()->Enabled());
    p.tmSpin()->Fire();
    p.tmSpin()->Fire();
    QCOMPARE(p.txNum()->text(), QStringLiteral("14"));
    // Shift held (the box has the focus and sees it) makes the steps 5.
    QCOMPARE(Focus(), static_cast<QWidget *>(p.txNum()));
    QTest::keyPress(Focus(), Qt::Key_Shift);
    QCOMPARE(p.SpinExtra(), std::int16_t(4));
    p.tmSpin()->Fire();
    QCOMPARE(p.txNum()->text(), QStringLiteral("19"));
    QTest::keyRelease(Focus(), Qt::Key_Shift, Qt::ShiftModifier);
    QCOMPARE(p.SpinExtra(), std::int16_t(0));
    p.tmSpin()->Fire();
    QCOMPARE(p.txNum()->text(), QStringLiteral("20"));
    QTest::mouseRelease(sp, Qt::LeftButton, Qt::NoModifier, upArrow);
    QVERIFY(!p.tmSpin()->Enabled());
    QCOMPARE(p.SpinDir(), std::int16_t(0));

    // Near the top the repeat stops at 999, also with Shift.
    p.txNum()->setText(QStringLiteral("996"));
    QTest::mousePress(sp, Qt::LeftButton, Qt::NoModifier, upArrow);
    QTest::keyPress(Focus(), Qt::Key_Shift);
    p.tmSpin()->Fire();
    QCOMPARE(p.txNum()->text(), QStringLiteral("999"));
    p.tmSpin()->Fire();
    QCOMPARE(p.txNum()->text(), QStringLiteral("999"));
    QVERIFY(p.tmSpin()->Enabled());
    QTest::keyRelease(Focus(), Qt::Key_Shift, Qt::ShiftModifier);
    QTest::mouseRelease(sp, Qt::LeftButton, Qt::NoModifier, upArrow);

    // Downwards it stops at 1.
    p.txNum()->setText(QStringLiteral("4"));
    QTest::mousePress(sp, Qt::LeftButton, Qt::NoModifier, downArrow);
    QCOMPARE(p.txNum()->text(), QStringLiteral("3"));
    QTest::keyPress(Focus(), Qt::Key_Shift);
    p.tmSpin()->Fire();
    QCOMPARE(p.txNum()->text(), QStringLiteral("1"));
    CheckMode(p, Mode::Single);
    QTest::keyRelease(Focus(), Qt::Key_Shift, Qt::ShiftModifier);
    p.tmSpin()->Fire();
    QCOMPARE(p.txNum()->text(), QStringLiteral("1"));
    QTest::mouseRelease(sp, Qt::LeftButton, Qt::NoModifier, downArrow);
    QVERIFY(!p.tmSpin()->Enabled());
}

void TestCount::spinnerRepeatsWhileHeld()
{
    // The spinner on its own, in real time: it steps on the press, keeps stepping while the
    // arrow is held, pauses while the pointer is off the arrow, and stops on release.
    UpDown sp;
    sp.resize(16, 33);
    sp.setRange(1, 999);
    sp.setValue(1);
    sp.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sp));
    QSignalSpy changes(&sp, &UpDown::Change), ups(&sp, &UpDown::UpClick);
    const QPoint upArrow = Centre(sp.UpRect());
    QTest::mousePress(&sp, Qt::LeftButton, Qt::NoModifier, upArrow);
    QCOMPARE(sp.Value(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(sp.Value() >= 5, 5000);
    QTest::mouseMove(&sp, Centre(sp.DownRect()));
    int held = sp.Value();
    QTest::qWait(400);
    QCOMPARE(sp.Value(), held);
    QTest::mouseMove(&sp, upArrow);
    QTRY_VERIFY_WITH_TIMEOUT(sp.Value() > held, 5000);
    QTest::mouseRelease(&sp, Qt::LeftButton, Qt::NoModifier, upArrow);
    held = sp.Value();
    QTest::qWait(400);
    QCOMPARE(sp.Value(), held);
    QCOMPARE(changes.count(), held - 1);
    QCOMPARE(ups.count(), held - 1);
    // At the top it stays, and raises no change.
    sp.setValue(999);
    changes.clear();
    QTest::mouseClick(&sp, Qt::LeftButton, Qt::NoModifier, upArrow);
    QCOMPARE(sp.Value(), 999);
    QCOMPARE(changes.count(), 0);
}

QTEST_MAIN(TestCount)
#include "tst_count.moc"

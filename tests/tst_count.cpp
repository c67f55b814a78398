// The password count on the offscreen platform, driven by real keys and clicks: pasting and
// typing into the box, the stepping keys, the digit typed elsewhere, leaving an invalid box, and
// the spinner with its own auto-repeat and the window's tmSpin repeat.

#include "modes.h"

#include <QClipboard>

using namespace zintrova;

class TestCount : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void countEntry_data();
    void countEntry();
    void typing();
    void spinner();
    void spinnerRepeatsWhileHeld();
};

void TestCount::countEntry_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QKeySequence>("keys"); // pressed after the paste
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("mode");
    const auto row = [](const char *name, const char *in, QKeySequence keys, const char *out,
                        Mode m) {
        QTest::newRow(name) << QString(in) << keys << QString(out) << int(m);
    };
    row("007 reads 7, stays as typed", "007", {}, "007", Mode::Batch);
    row("long paste cut to three", "12345", {}, "123", Mode::Batch);
    row("negative is invalid", "-5", {}, "-5", Mode::Invalid);
    row("long negative", "-1234", {}, "-12", Mode::Invalid);
    row("no number", "x5", {}, "x5", Mode::Invalid);
    row("Up", "5", Qt::Key_Up, "6", Mode::Batch);
    row("Down", "5", Qt::Key_Down, "4", Mode::Batch);
    row("PageDown", "10", Qt::Key_PageDown, "5", Mode::Batch);
    row("Up at 999 stays", "999", Qt::Key_Up, "999", Mode::Batch);
    row("PageDown at 3", "3", Qt::Key_PageDown, "1", Mode::Single);
    row("Ctrl+Home", "50", Qt::CTRL | Qt::Key_Home, "1", Mode::Single);
    row("Ctrl+End", "50", Qt::CTRL | Qt::Key_End, "1", Mode::Single);
    row("Ctrl+Shift+Home", "50", Qt::CTRL | Qt::SHIFT | Qt::Key_Home, "50", Mode::Batch);
    row("Home moves the caret", "50", Qt::Key_Home, "50", Mode::Batch);
    row("0 Up", "0", Qt::Key_Up, "1", Mode::Single);
    row("negative PageUp", "-5", Qt::Key_PageUp, "5", Mode::Batch);
}

void TestCount::countEntry()
{
    QFETCH(QString, pasted);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, shown);
    QFETCH(int, mode);
    Shown t;
    QGuiApplication::clipboard()->setText(pasted);
    t.p.txNum()->setFocus();
    t.p.txNum()->selectAll();
    QTest::keyClick(Focus(), Qt::Key_V, Qt::ControlModifier);
    QTest::keySequence(Focus(), keys);
    QCOMPARE(t.p.txNum()->text(), shown);
    CheckMode(t.p, Mode(mode));
    QCOMPARE(t.p.spNum()->Value(), qMax(1, shown.toInt()));
    // The key still reaches the box: Home moves the caret.
    if (keys == QKeySequence(Qt::Key_Home)) QCOMPARE(t.p.txNum()->cursorPosition(), 0);
    // Leaving an invalid box puts 1 back.
    t.p.sldLen(0)->setFocus();
    QTRY_COMPARE(t.p.txNum()->text(), Mode(mode) == Mode::Invalid ? QStringLiteral("1") : shown);
}

void TestCount::typing()
{
    // A digit typed while another control has the focus lands in the box, replacing its text.
    Shown t;
    auto &p = t.p;
    QWidget *const controls[] = {p.sldLen(1), p.cbSet(2), p.cmExit(), p.spNum()};
    for (QWidget *control : controls) {
        p.txNum()->setText(QStringLiteral("123"));
        control->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents(); // the box's LostFocus
        QTest::keyClick(Focus(), Qt::Key_7);
        QTRY_COMPARE(p.txNum()->text(), QStringLiteral("7"));
        QCOMPARE(Focus(), static_cast<QWidget *>(p.txNum()));
    }
    // In the box, digits go on (three at most); nothing else gets in.
    QTest::keyClicks(Focus(), QStringLiteral("a -.+,xZ2/5:6"));
    QCoreApplication::processEvents();
    QCOMPARE(p.txNum()->text(), QStringLiteral("725"));
    CheckMode(p, Mode::Batch);
    QTest::keyClick(Focus(), Qt::Key_Backspace);
    QTest::keyClick(Focus(), Qt::Key_Home);
    // Delete as X11 reports it, with the DEL character as its text.
    const QString del{QChar(0x7f)};
    QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_Delete, del, Qt::NoModifier);
    QCOMPARE(p.txNum()->text(), QStringLiteral("2"));
    QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_Delete, del, Qt::NoModifier);
    QCOMPARE(p.txNum()->text(), QString());
    CheckMode(p, Mode::Invalid);
    // Coming from batch mode, what the invalid row does not name stays as it was.
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Multi&copy"));
    QCOMPARE(p.cmCopy()->FontBold(), true);
    QTest::keyClicks(Focus(), QStringLiteral("0"));
    CheckMode(p, Mode::Invalid);
    // Leaving the invalid box puts 1 back and forgets the digit typed last.
    p.sldLen(0)->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(p.txNum()->text(), QStringLiteral("1"));
    CheckMode(p, Mode::Single);
    QCOMPARE(p.PendingKey(), std::int16_t(0));
    p.txNum()->setText(QStringLiteral("50"));
    QTest::mouseDClick(p.txNum(), Qt::LeftButton);
    QCOMPARE(p.txNum()->text(), QStringLiteral("1"));
    CheckMode(p, Mode::Single);
}

void TestCount::spinner()
{
    // Tabbed onto the spinner (leaving a valid count as it is), the arrow keys step it. Muting
    // the spinner while the box follows must not push the focus away from it.
    Shown t;
    auto &p = t.p;
    UpDown *sp = p.spNum();
    p.txNum()->setText(QStringLiteral("10"));
    p.txNum()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Focus(), Qt::Key_Tab);
    QTest::keySequence(Focus(), QKeySequence(Qt::Key_Up, Qt::Key_Up, Qt::Key_Down));
    QCOMPARE(p.txNum()->text(), QStringLiteral("11"));
    QCOMPARE(Focus(), static_cast<QWidget *>(sp));
    // A press on an arrow steps, puts the focus in the box, and starts tmSpin: a repeat after
    // 1000 ms, then every 50 ms.
    const QPoint upArrow = sp->UpRect().center(), downArrow = sp->DownRect().center();
    QTest::mousePress(sp, Qt::LeftButton, Qt::NoModifier, upArrow);
    QCOMPARE(p.txNum()->text(), QStringLiteral("12"));
    QTRY_COMPARE(Focus(), static_cast<QWidget *>(p.txNum()));
    QVERIFY(p.tmSpin()->Enabled());
    QCOMPARE(p.tmSpin()->Interval(), 1000);
    p.tmSpin()->Fire();
    QCOMPARE(p.tmSpin()->Interval(), 50);
    // Shift held (the box has the focus and sees it) makes the steps 5.
    QTest::keyPress(Focus(), Qt::Key_Shift);
    p.tmSpin()->Fire();
    QCOMPARE(p.txNum()->text(), QStringLiteral("18"));
    QTest::keyRelease(Focus(), Qt::Key_Shift, Qt::ShiftModifier);
    p.tmSpin()->Fire();
    QCOMPARE(p.txNum()->text(), QStringLiteral("19"));
    QTest::mouseRelease(sp, Qt::LeftButton, Qt::NoModifier, upArrow);
    QVERIFY(!p.tmSpin()->Enabled());
    // Downwards, also with Shift, the repeat stops at 1.
    p.txNum()->setText(QStringLiteral("4"));
    QTest::mousePress(sp, Qt::LeftButton, Qt::NoModifier, downArrow);
    QCOMPARE(p.txNum()->text(), QStringLiteral("3"));
    QTest::keyPress(Focus(), Qt::Key_Shift);
    p.tmSpin()->Fire();
    QCOMPARE(p.txNum()->text(), QStringLiteral("1"));
    CheckMode(p, Mode::Single);
    QTest::keyRelease(Focus(), Qt::Key_Shift, Qt::ShiftModifier);
    QTest::mouseRelease(sp, Qt::LeftButton, Qt::NoModifier, downArrow);
}

void TestCount::spinnerRepeatsWhileHeld()
{
    // The spinner on its own, in real time: it steps on the press, keeps stepping while the
    // arrow is held, pauses while the pointer is off the arrow, and stops on release, or when
    // it is hidden (its window closed) while held.
    UpDown sp;
    sp.setRange(1, 999);
    sp.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sp));
    const QPoint upArrow = sp.UpRect().center();
    QTest::mousePress(&sp, Qt::LeftButton, Qt::NoModifier, upArrow);
    QCOMPARE(sp.Value(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(sp.Value() >= 5, 5000);
    QTest::mouseMove(&sp, sp.DownRect().center());
    int held = sp.Value();
    QTest::qWait(400);
    QCOMPARE(sp.Value(), held);
    QTest::mouseMove(&sp, upArrow);
    QTRY_VERIFY_WITH_TIMEOUT(sp.Value() > held, 5000);
    QTest::mouseRelease(&sp, Qt::LeftButton, Qt::NoModifier, upArrow);
    held = sp.Value();
    QTest::qWait(400);
    QCOMPARE(sp.Value(), held);
    QTest::mousePress(&sp, Qt::LeftButton, Qt::NoModifier, upArrow);
    sp.hide();
    QTest::qWait(800);
    QCOMPARE(sp.Value(), held + 1);
}

QTEST_MAIN(TestCount)
#include "tst_count.moc"

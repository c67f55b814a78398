// The controls' own rules, without a window: the text colour that reads on a background, the
// codes of a key press, and the spinner as a screen reader and the mouse meet it.

#include "controls/contrast.h"
#include "controls/controls.h"
#include "controls/keyboard.h"
#include "controls/updown.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QTest>

using namespace zintrova;

class TestControls : public QObject {
    Q_OBJECT
private slots:
    // The designed colour where it reads at 4.5:1, else the scheme's, else black or white,
    // whichever reads more. The figures are WCAG contrast ratios, (L1 + 0.05) / (L2 + 0.05) of
    // the relative luminances, worked out by hand.
    void readableOnEachBackground_data()
    {
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("designed");
        QTest::addColumn<QColor>("scheme"); // none where invalid
        QTest::addColumn<QColor>("chosen");
        const QColor black(Qt::black), white(Qt::white), none, blue(0, 0, 192);
        QTest::newRow("blue on the light face, 10.46")
            << QColor(240, 240, 240) << blue << black << blue;
        QTest::newRow("black on the dark face, 1.30: the scheme's white, 16.21")
            << QColor(34, 32, 32) << black << white << white;
        QTest::newRow("white on grey 118, 4.54") << QColor(118, 118, 118) << white << none << white;
        QTest::newRow("white on grey 119, 4.48: black, 4.69")
            << QColor(119, 119, 119) << white << none << black;
    }
    void readableOnEachBackground()
    {
        QFETCH(QColor, background);
        QFETCH(QColor, designed);
        QFETCH(QColor, scheme);
        QFETCH(QColor, chosen);
        const QRgb back = background.rgb();
        const QRgb got = scheme.isValid() ? ReadableOn(back, {designed.rgb(), scheme.rgb()})
                                          : ReadableOn(back, {designed.rgb()});
        QCOMPARE(QColor(got), chosen);
    }

    // The code of the key pressed (digits and letters their upper-case ASCII codes, F1 112 on,
    // every other key 255), the Shift/Ctrl/Alt mask (1, 2, 4), and the character typed: Ctrl with
    // a letter its control character, however the platform reports it; nothing beyond ASCII.
    void keyCodes_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("ascii");
        const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("9") << Qt::Key_9 << none << "9" << 57 << 0 << 57;
        QTest::newRow("colon, after 9") << Qt::Key_Colon << shift << ":" << 255 << 1 << 58;
        QTest::newRow("Shift+Z") << Qt::Key_Z << shift << "Z" << 90 << 1 << 90;
        QTest::newRow("at sign, before A") << Qt::Key_At << shift << "@" << 255 << 1 << 64;
        QTest::newRow("Ctrl+Z as the bare letter") << Qt::Key_Z << ctrl << "z" << 90 << 2 << 26;
        QTest::newRow("Ctrl+Shift+A") << Qt::Key_A << (ctrl | shift) << "A" << 65 << 3 << 1;
        QTest::newRow("AltGr+Q, reported as Ctrl+Alt")
            << Qt::Key_Q << (ctrl | Qt::AltModifier) << "@" << 81 << 6 << 64;
        QTest::newRow("Delete, which X11 reports as DEL")
            << Qt::Key_Delete << none << "\x7f" << 46 << 0 << 0;
        QTest::newRow("e acute") << Qt::Key_Eacute << none << "\u00e9" << 255 << 0 << 0;
        QTest::newRow("F24") << Qt::Key_F24 << none << "" << 135 << 0 << 0;
    }
    void keyCodes()
    {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, text);
        const QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QTEST(VirtualKey(press), "keyCode");
        QTEST(ShiftState(press), "shift");
        QTEST(KeyAscii(press), "ascii");
    }

    // A screen reader finds a spin box and reads its value; it sets one only within the range.
    void spinnerTellsItsValue()
    {
        UpDown spinner;
        spinner.setRange(1, 999);
        spinner.setIncrement(5);
        spinner.setValue(25);
        QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(&spinner);
        QCOMPARE(shown->role(), QAccessible::SpinBox);
        QCOMPARE(shown->text(QAccessible::Value), "25");
        shown->valueInterface()->setCurrentValue(1000);
        QCOMPARE(spinner.Value(), 999);
    }

    // Its increase and decrease actions step it as the arrows do: by the increment, within the
    // range, and not while it is muted.
    void spinnerActionsStep()
    {
        UpDown spinner;
        spinner.setRange(1, 999);
        spinner.setIncrement(5);
        spinner.setValue(3);
        QAccessibleActionInterface *actions =
            QAccessible::queryAccessibleInterface(&spinner)->actionInterface();
        const QString up = actions->increaseAction(), down = actions->decreaseAction();
        actions->doAction(up);
        QCOMPARE(spinner.Value(), 8);
        actions->doAction(down);
        actions->doAction(down);
        QCOMPARE(spinner.Value(), 1);
        spinner.setMuted(true);
        actions->doAction(up);
        QCOMPARE(spinner.Value(), 1);
    }

    // The upper half steps up and the lower half down, right up to the middle.
    void spinnerArrowsAreItsHalves()
    {
        UpDown spinner;
        spinner.resize(16, 40);
        spinner.setValue(5);
        QTest::mouseClick(&spinner, Qt::LeftButton, {}, QPoint(8, 19));
        QCOMPARE(spinner.Value(), 6);
        QTest::mouseClick(&spinner, Qt::LeftButton, {}, QPoint(8, 20));
        QCOMPARE(spinner.Value(), 5);
    }

    // A box is off, on or greyed (a settings file may hold the greyed state); any other value
    // is refused and the box keeps the value it had.
    void checkBoxTakesOffOnOrGreyed_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<int>("valueAfter");
        QTest::newRow("off") << 0 << true << 0;
        QTest::newRow("greyed") << 2 << true << 2;
        QTest::newRow("3 refused") << 3 << false << 1;
        QTest::newRow("-1 refused") << -1 << false << 1;
    }
    void checkBoxTakesOffOnOrGreyed()
    {
        QFETCH(int, value);
        QFETCH(bool, taken);
        QFETCH(int, valueAfter);
        ValueCheckBox box("box");
        QCOMPARE(box.setValue(1), true);
        QCOMPARE(box.setValue(value), taken);
        QCOMPARE(box.Value(), valueAfter);
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"

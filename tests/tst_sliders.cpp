// The length range sliders on the offscreen platform, driven by real mouse, wheel and key events:
// the soft stop and the push between the two thumbs in every state of PushState, the press that
// puts a thumb under the pointer, Up/Down between the sliders, PageUp/PageDown by 5, and the
// thumb drawn where a press finds its value.

#include "mainwindow/fonts.h"
#include "mainwindow/twips.h"
#include "probe.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <cmath>

using namespace zintrova;

namespace {

// Draws that never repeat a pattern soon, so that consecutive passwords always differ and every
// composed password shows as a change of the password label.
class WeylRandom final : public RandomSource {
public:
    float Next() override
    {
        x_ = std::fmod(x_ + 0.6180339887498949, 1.0);
        return static_cast<float>(std::floor(x_ * 16777216.0) / 16777216.0);
    }

private:
    double x_ = 0.1;
};

// Where a press puts value n: the column the mouse rule maps to n, from the slider's left edge.
// The rule centres n at 195n - 465 twips on the minimum slider and 195n - 1050 on the maximum.
int Column(int index, int n)
{
    return (195 * n - (index == 0 ? 465 : 1050)) / TwipsPerPixel;
}

enum class Input { Mouse, Arrows, Pages };

// One window, with the moves a user makes on its sliders.
class Session {
public:
    Session()
    {
        p.Random() = &random;
        w.show();
    }
    bool Ready()
    {
        if (!QTest::qWaitForWindowActive(&w)) return false;
        QCoreApplication::processEvents(); // the first slider's GotFocus
        return QApplication::focusWidget() == p.sldLen(0);
    }

    QPoint At(int index, int n) { return {Column(index, n), p.sldLen(index)->height() / 2}; }

    // A click at the place of value n (press and release), and the focus handling that follows.
    void Click(int index, int n)
    {
        QTest::mousePress(p.sldLen(index), Qt::LeftButton, {}, At(index, n));
        QTest::mouseRelease(p.sldLen(index), Qt::LeftButton, {}, At(index, n));
        QCoreApplication::processEvents();
    }

    // Sets the range with two clicks, then gives the focus to a slider by a click on its thumb.
    void SetRange(int min, int max, int focus)
    {
        Click(1, max);
        Click(0, min);
        Click(focus, p.sldLen(focus)->Value());
    }

    // Moves by the user. Input decides what a step is: the pointer moved by one value with the
    // button down, or a key going down (the first) or repeating (while it is held).
    void Begin(Input in, int index)
    {
        input_ = in;
        index_ = index;
        if (in == Input::Mouse) {
            pointer_ = p.sldLen(index)->Value();
            QTest::mousePress(p.sldLen(index), Qt::LeftButton, {}, At(index, pointer_));
        }
    }
    void Step(int direction)
    {
        if (input_ == Input::Mouse) {
            pointer_ += direction;
            QTest::mouseMove(p.sldLen(index_), At(index_, pointer_));
            return;
        }
        const Qt::Key k = input_ == Input::Arrows
                              ? (direction > 0 ? Qt::Key_Right : Qt::Key_Left)
                              : (direction > 0 ? Qt::Key_PageUp : Qt::Key_PageDown);
        QWidget *focus = QApplication::focusWidget();
        if (held_ == k) { // the keyboard's repeat
            QTest::simulateEvent(focus, false, k, Qt::NoModifier, QString(), true);
            QTest::simulateEvent(focus, true, k, Qt::NoModifier, QString(), true);
        } else {
            QTest::keyPress(focus, k);
            held_ = k;
        }
    }
    void End()
    {
        if (input_ == Input::Mouse)
            QTest::mouseRelease(p.sldLen(index_), Qt::LeftButton, {}, At(index_, pointer_));
        else if (held_)
            QTest::keyRelease(QApplication::focusWidget(), held_);
        held_ = Qt::Key(0);
    }
    void Stroke(Input in, int index, int direction)
    {
        Begin(in, index);
        Step(direction);
        End();
    }

    // A key pressed on the focused control and released on the control that then has the focus.
    void Key(Qt::Key k)
    {
        QTest::keyPress(QApplication::focusWidget(), k);
        QTest::keyRelease(QApplication::focusWidget(), k);
    }

    void Wheel(int index, int notches)
    {
        TrackSlider *s = p.sldLen(index);
        const QPointF at(s->width() / 2, s->height() / 2);
        QWheelEvent e(at, s->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(s, &e);
    }

    QString Range()
    {
        return QStringLiteral("%1 - %2").arg(p.sldLen(0)->Value()).arg(p.sldLen(1)->Value());
    }

    fmMain w;
    fmMainProbe p{w};
    WeylRandom random;

private:
    Input input_ = Input::Mouse;
    int index_ = 0;
    int pointer_ = 0;
    Qt::Key held_ = Qt::Key(0);
};

// Both values, the range label and PushState at once.
#define CHECK_STATE(session, min, max, state)                                                      \
    do {                                                                                           \
        QCOMPARE((session).Range(), QStringLiteral("%1 - %2").arg(min).arg(max));                  \
        QCOMPARE((session).p.lbLimits()->Caption(), (session).Range());                            \
        QCOMPARE(int((session).p.PushState()), state);                                             \
    } while (false)

} // namespace

Q_DECLARE_METATYPE(Input)

class TestSliders : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void softStopThenPush_data();
    void softStopThenPush();
    void pushStateTransitions_data();
    void pushStateTransitions();
    void holdComposesNothingAndPushMutesTheOther();
    void pushedSliderMovedBackComposes();
    void pressPutsThumbUnderPointer_data();
    void pressPutsThumbUnderPointer();
    void pressThenDragFromThere();
    void pressCrossesRangeUntilScroll_data();
    void pressCrossesRangeUntilScroll();
    void upAndDownMoveTheFocus_data();
    void upAndDownMoveTheFocus();
    void pageKeysStepByFive_data();
    void pageKeysStepByFive();
    void thumbStandsOnTheScale_data();
    void thumbStandsOnTheScale();
};

// The soft stop and the push, for each thumb moved towards the other, by mouse, arrow keys and
// page keys. The other thumb stands at t; the moving one starts two steps away.
void TestSliders::softStopThenPush_data()
{
    QTest::addColumn<int>("index"); // the slider moved
    QTest::addColumn<Input>("input");
    QTest::addColumn<int>("t");
    QTest::newRow("minimum, mouse") << 0 << Input::Mouse << 8;
    QTest::newRow("minimum, arrow keys") << 0 << Input::Arrows << 8;
    QTest::newRow("minimum, page keys") << 0 << Input::Pages << 16;
    QTest::newRow("maximum, mouse") << 1 << Input::Mouse << 10;
    QTest::newRow("maximum, arrow keys") << 1 << Input::Arrows << 10;
    QTest::newRow("maximum, page keys") << 1 << Input::Pages << 20;
}

void TestSliders::softStopThenPush()
{
    QFETCH(int, index);
    QFETCH(Input, input);
    QFETCH(int, t);
    const int step = input == Input::Pages ? 5 : 1;
    const int dir = index == 0 ? step : -step; // towards the other thumb
    Session s;
    QVERIFY(s.Ready());
    s.SetRange(index == 0 ? t - 2 * dir : t, index == 0 ? t : t - 2 * dir, index);
    // Values as (moving, other) turned into (min, max).
    const auto expect = [&](int moving, int other, int state) {
        if (index == 0)
            CHECK_STATE(s, moving, other, state);
        else
            CHECK_STATE(s, other, moving, state);
    };
    expect(t - 2 * dir, t, 0);

    s.Stroke(input, index, dir);
    expect(t - dir, t, 0);
    s.Stroke(input, index, dir);
    expect(t, t, 0); // equal values are a valid range
    s.Begin(input, index);
    s.Step(dir);
    expect(t, t, 1); // stopped at the other thumb
    s.Step(dir);
    expect(t, t, 1); // still held while the button or the key stays down
    s.End();
    expect(t, t, 2);
    if (input == Input::Pages) QCOMPARE(s.p.sldLen(index)->LargeChange(), 1);

    s.Begin(input, index);
    s.Step(dir);
    expect(t + dir, t + dir, 2); // pushes the other thumb along
    s.Step(dir);
    expect(t + 2 * dir, t + 2 * dir, 2);
    s.End();
    expect(t + 2 * dir, t + 2 * dir, 2);

    s.Begin(input, index);
    s.Step(-dir);
    expect(t + dir, t + 2 * dir, 0); // parted: free again
    s.Step(-dir);
    s.Step(-dir);
    expect(t - dir, t + 2 * dir, 0);
    s.End();
    s.Begin(input, index);
    s.Step(dir);
    s.Step(dir);
    s.Step(dir);
    expect(t + 2 * dir, t + 2 * dir, 0);
    s.Step(dir);
    expect(t + 2 * dir, t + 2 * dir, 1); // the next contact stops again
    s.End();
    expect(t + 2 * dir, t + 2 * dir, 2);
}

// Every line of the PushState table, each from a state reached by real events (or, where only
// a forced start state can show the line alone, from that state set directly).
void TestSliders::pushStateTransitions_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("any -> 0: GotFocus (Down key) from 1") << 0;
    QTest::newRow("any -> 0: GotFocus (click) from 2") << 1;
    QTest::newRow("any -> 0: change of an enabled slider, min < max, from 2") << 2;
    QTest::newRow("any -> 0: change of an enabled slider, min < max, from 1") << 3;
    QTest::newRow("any -> 0: KeyUp, min < max") << 4;
    QTest::newRow("1 -> 0: Scroll, min < max, value unchanged") << 5;
    QTest::newRow("1 -> 0: Scroll, min < max, thumb moved back") << 6;
    QTest::newRow("0 -> 1: Scroll, min > max (wheel)") << 7;
    QTest::newRow("1 -> 1: Scroll, min > max, held again") << 8;
    QTest::newRow("1 -> 2: MouseUp on the moved slider") << 9;
    QTest::newRow("1 -> 2: MouseUp on the other slider") << 10;
    QTest::newRow("1 -> 2: KeyUp, min >= max") << 11;
    QTest::newRow("2 -> 2: Scroll, min > max, pushes") << 12;
    QTest::newRow("2 -> 2: Scroll by the wheel pushes the slider that has the focus") << 13;
}

void TestSliders::pushStateTransitions()
{
    QFETCH(int, row);
    Session s;
    QVERIFY(s.Ready());
    // From 6 - 8 to the stop at 8 - 8 with the Right key held on the minimum slider.
    const auto holdRight = [&] {
        s.Key(Qt::Key_Right);
        s.Key(Qt::Key_Right);
        QTest::keyPress(s.p.sldLen(0), Qt::Key_Right);
        CHECK_STATE(s, 8, 8, 1);
    };
    const auto stopped = [&] { // state 2 at 8 - 8
        holdRight();
        QTest::keyRelease(s.p.sldLen(0), Qt::Key_Right);
        CHECK_STATE(s, 8, 8, 2);
    };

    switch (row) {
    case 0: // Right still held
        holdRight();
        QTest::keyPress(s.p.sldLen(0), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(s.p.sldLen(1)));
        QTRY_COMPARE(int(s.p.PushState()), 0);
        CHECK_STATE(s, 8, 8, 0);
        break;
    case 1:
        stopped();
        QTest::mousePress(s.p.sldLen(1), Qt::LeftButton, {}, s.At(1, 8)); // on its thumb
        QTest::mouseRelease(s.p.sldLen(1), Qt::LeftButton, {}, s.At(1, 8));
        QTRY_COMPARE(int(s.p.PushState()), 0);
        CHECK_STATE(s, 8, 8, 0);
        break;
    case 2:
        stopped();
        QTest::mousePress(s.p.sldLen(0), Qt::LeftButton, {}, s.At(0, 7));
        CHECK_STATE(s, 7, 8, 0);
        QTest::mouseRelease(s.p.sldLen(0), Qt::LeftButton, {}, s.At(0, 7));
        CHECK_STATE(s, 7, 8, 0);
        break;
    case 3:
        holdRight();
        QTest::mousePress(s.p.sldLen(0), Qt::LeftButton, {}, s.At(0, 5));
        CHECK_STATE(s, 5, 8, 0);
        break;
    case 4: // Shift alone changes nothing; its key-up still applies the rule
        s.p.PushState() = 2;
        s.Key(Qt::Key_Shift);
        CHECK_STATE(s, 6, 8, 0);
        break;
    case 5: // Home at the lowest value: a Scroll that moves nothing
        s.Key(Qt::Key_Home);
        CHECK_STATE(s, 3, 8, 0);
        s.p.PushState() = 1;
        QTest::keyPress(s.p.sldLen(0), Qt::Key_Home);
        CHECK_STATE(s, 3, 8, 0);
        break;
    case 6:
        holdRight();
        QTest::keyPress(s.p.sldLen(0), Qt::Key_Left);
        CHECK_STATE(s, 7, 8, 0);
        break;
    case 7: // the wheel moves a slider without giving it the focus
        s.Key(Qt::Key_Right);
        s.Key(Qt::Key_Right);
        CHECK_STATE(s, 8, 8, 0);
        s.Wheel(1, -1);
        CHECK_STATE(s, 8, 8, 1);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(s.p.sldLen(0)));
        break;
    case 8:
        holdRight();
        for (int i = 0; i < 3; ++i) {
            QTest::simulateEvent(s.p.sldLen(0), false, Qt::Key_Right, {}, QString(), true);
            QTest::simulateEvent(s.p.sldLen(0), true, Qt::Key_Right, {}, QString(), true);
            CHECK_STATE(s, 8, 8, 1);
        }
        break;
    case 9:
        s.Begin(Input::Mouse, 0);
        s.Step(1);
        s.Step(1);
        s.Step(1);
        CHECK_STATE(s, 8, 8, 1);
        s.End();
        CHECK_STATE(s, 8, 8, 2);
        break;
    case 10: // stopped by the wheel over the minimum slider, released on the maximum slider
        s.Key(Qt::Key_Right);
        s.Key(Qt::Key_Right);
        s.Key(Qt::Key_Down);
        QCoreApplication::processEvents();
        s.Wheel(0, 1);
        CHECK_STATE(s, 8, 8, 1);
        QTest::mousePress(s.p.sldLen(1), Qt::LeftButton, {}, s.At(1, 8));
        CHECK_STATE(s, 8, 8, 1);
        QTest::mouseRelease(s.p.sldLen(1), Qt::LeftButton, {}, s.At(1, 8));
        CHECK_STATE(s, 8, 8, 2);
        break;
    case 11: stopped(); break;
    case 12:
        stopped();
        QTest::keyPress(s.p.sldLen(0), Qt::Key_Right);
        CHECK_STATE(s, 9, 9, 2);
        QTest::keyRelease(s.p.sldLen(0), Qt::Key_Right);
        CHECK_STATE(s, 9, 9, 2);
        break;
    case 13: // the pushed slider keeps the focus, and no focus change resets the state
        stopped();
        s.Key(Qt::Key_Down);
        QCoreApplication::processEvents();
        s.p.PushState() = 2; // as the stop left it before the focus moved
        s.Wheel(0, 1);
        QCoreApplication::processEvents();
        CHECK_STATE(s, 11, 11, 2);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(s.p.sldLen(1)));
        break;
    default: QFAIL("no such row");
    }
}

// At the stop the thumb does not move, so nothing new is composed; a push composes once, for
// the moved slider, and counts the pushed slider's new value as handled.
// A slider pushed down and then clicked back to the value it had before the push: the range is
// new to the window, so a password of the new length must be composed.
void TestSliders::pushedSliderMovedBackComposes()
{
    Session s;
    QVERIFY(s.Ready());
    s.Key(Qt::Key_Right);
    s.Key(Qt::Key_Right); // 8 - 8
    s.Key(Qt::Key_Right); // stopped at 8 - 8
    s.Key(Qt::Key_Right); // pushes: 9 - 9
    CHECK_STATE(s, 9, 9, 2);
    s.p.sldLen(1)->setFocus();
    QCoreApplication::processEvents();
    s.Key(Qt::Key_Left); // held at 9 - 9
    s.Key(Qt::Key_Left); // pushes the minimum down: 8 - 8
    CHECK_STATE(s, 8, 8, 2);
    s.Click(0, 9); // the minimum back at 9, beyond the maximum
    QCOMPARE(s.p.lbLimits()->Caption(), QStringLiteral("9 - 8"));
    QCOMPARE(s.p.lbPass()->Caption().size(), 9);
}

void TestSliders::holdComposesNothingAndPushMutesTheOther()
{
    Session s;
    QVERIFY(s.Ready());
    QSignalSpy composed(s.p.lbPass(), &ChangeLabel::Change);
    s.Key(Qt::Key_Right);
    s.Key(Qt::Key_Right);
    QCOMPARE(composed.count(), 2);
    QCOMPARE(s.p.LastLen()[0], std::int16_t(8));
    composed.clear();

    s.Begin(Input::Mouse, 0);
    for (int i = 0; i < 4; ++i)
        s.Step(1);
    s.End();
    CHECK_STATE(s, 8, 8, 2);
    QCOMPARE(composed.count(), 0);

    s.Begin(Input::Mouse, 0);
    s.Step(1);
    CHECK_STATE(s, 9, 9, 2);
    QCOMPARE(composed.count(), 1);
    QCOMPARE(s.p.LastLen(), (std::array<std::int16_t, 2>{9, 9}));
    QCOMPARE(s.p.lbPass()->Caption().size(), 9);
    s.Step(1);
    s.End();
    QCOMPARE(composed.count(), 2);
    QCOMPARE(s.p.LastLen(), (std::array<std::int16_t, 2>{10, 10}));
    QVERIFY(s.p.sldLen(1)->Enabled());
    QVERIFY(s.p.sldLen(1)->isEnabled());

    // A value set from code while the slider is switched off is not handled at all.
    const QString shown = s.p.lbPass()->Caption();
    s.p.sldLen(1)->setEnabled(false);
    s.p.sldLen(1)->setValue(30);
    s.p.sldLen(1)->setEnabled(true);
    QCOMPARE(s.p.lbPass()->Caption(), shown);
    QCOMPARE(s.p.lbLimits()->Caption(), QStringLiteral("10 - 10"));
    QCOMPARE(s.p.LastLen()[1], std::int16_t(10));
    // Switched on, the slider handles its next change, and composes since 31 is new to it.
    s.p.sldLen(1)->setValue(31);
    QCOMPARE(s.p.lbLimits()->Caption(), QStringLiteral("10 - 31"));
    QCOMPARE(composed.count(), 3);
}

// A press anywhere sets the value whose place is nearest the pointer; at the outermost edges the
// slider's own end, not a value beyond it.
void TestSliders::pressPutsThumbUnderPointer_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("x"); // pixels from the slider's left edge
    QTest::addColumn<int>("expected");
    QTest::newRow("min, X=1485 twips") << 0 << 99 << 10;
    QTest::newRow("min, X=120 twips") << 0 << 8 << 3;
    QTest::newRow("min, X=7335 twips") << 0 << 489 << 40;
    QTest::newRow("min, last column of 9") << 0 << 92 << 9;
    QTest::newRow("min, first column of 10") << 0 << 93 << 10;
    QTest::newRow("min, left edge (rule gives 2)") << 0 << 0 << 3;
    QTest::newRow("min, 7440 twips (rule gives 41)") << 0 << 496 << 40;
    QTest::newRow("min, right edge") << 0 << 499 << 40;
    QTest::newRow("max, X=120 twips") << 1 << 8 << 6;
    QTest::newRow("max, X=1860 twips") << 1 << 124 << 15;
    QTest::newRow("max, left edge (rule gives 5)") << 1 << 0 << 6;
    QTest::newRow("max, 6855 twips (rule gives 41)") << 1 << 457 << 40;
    QTest::newRow("max, right edge") << 1 << 459 << 40;
}

void TestSliders::pressPutsThumbUnderPointer()
{
    QFETCH(int, index);
    QFETCH(int, x);
    QFETCH(int, expected);
    Session s;
    QVERIFY(s.Ready());
    TrackSlider *slider = s.p.sldLen(index);
    QSignalSpy down(slider, &TrackSlider::MouseDown);
    QSignalSpy up(slider, &TrackSlider::MouseUp);
    const QPoint at(x, 13);
    QTest::mousePress(slider, Qt::RightButton, Qt::ShiftModifier, at);
    QCOMPARE(slider->Value(), expected);
    QCOMPARE(s.p.lbLimits()->Caption(), s.Range());
    QTest::mouseRelease(slider, Qt::RightButton, Qt::ShiftModifier, at);
    QCOMPARE(slider->Value(), expected);
    QCOMPARE(down.count(), 1);
    QCOMPARE(up.count(), 1);
    // Button 2 (right), Shift 1, and the place in twips from the slider's top-left corner.
    QCOMPARE(down[0], (QList<QVariant>{2, 1, float(x * 15), float(13 * 15)}));
    QCOMPARE(up[0], (QList<QVariant>{2, 1, float(x * 15), float(13 * 15)}));
}

// The press puts the thumb under the pointer, and the same press drags it on from there.
void TestSliders::pressThenDragFromThere()
{
    Session s;
    QVERIFY(s.Ready());
    s.SetRange(6, 40, 0);
    TrackSlider *slider = s.p.sldLen(0);
    QSignalSpy scrolled(slider, &TrackSlider::Scroll);
    QTest::mousePress(slider, Qt::LeftButton, {}, s.At(0, 15) + QPoint(4, 0));
    QCOMPARE(slider->Value(), 15);
    QVERIFY(slider->isSliderDown());
    QCOMPARE(scrolled.count(), 0); // a press sets the value, it does not scroll
    QTest::mouseMove(slider, s.At(0, 17) + QPoint(4, 0));
    QCOMPARE(slider->Value(), 17);
    QCOMPARE(scrolled.count(), 1);
    QTest::mouseMove(slider, s.At(0, 16) + QPoint(-2, 0));
    QCOMPARE(slider->Value(), 16);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, s.At(0, 16));
    CHECK_STATE(s, 16, 40, 0);
}

// A press beyond the other thumb crosses the range; passwords take the minimum's length until a
// Scroll applies the coupling.
void TestSliders::pressCrossesRangeUntilScroll_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left button") << Qt::LeftButton;
    QTest::newRow("middle button") << Qt::MiddleButton; // the absolute-set button of some styles
    QTest::newRow("right button") << Qt::RightButton;
}

void TestSliders::pressCrossesRangeUntilScroll()
{
    QFETCH(Qt::MouseButton, button);
    Session s;
    QVERIFY(s.Ready());
    QSignalSpy scrolled(s.p.sldLen(0), &TrackSlider::Scroll);
    QTest::mouseClick(s.p.sldLen(0), button, {}, s.At(0, 20));
    CHECK_STATE(s, 20, 8, 0);
    QCOMPARE(scrolled.count(), 0);
    QCOMPARE(s.p.lbPass()->Caption().size(), 20);
    for (int i = 0; i < 10; ++i) {
        QTest::mouseClick(s.p.cmGen(), Qt::LeftButton);
        QCOMPARE(s.p.lbPass()->Caption().size(), 20);
    }
    // Right on the maximum slider: 9 is still below 20, so it stops on the minimum's value.
    s.Click(1, 8);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(s.p.sldLen(1)));
    s.Key(Qt::Key_Right);
    CHECK_STATE(s, 20, 20, 2);
    QCOMPARE(s.p.lbPass()->Caption().size(), 20);
}

// Up and Down never change a value: they go between the sliders, and the focus resets the state.
void TestSliders::upAndDownMoveTheFocus_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("Up on the maximum slider") << 1 << Qt::Key_Up << 0;
    QTest::newRow("Down on the minimum slider") << 0 << Qt::Key_Down << 1;
    QTest::newRow("Up on the minimum slider") << 0 << Qt::Key_Up << 0;
    QTest::newRow("Down on the maximum slider") << 1 << Qt::Key_Down << 1;
}

void TestSliders::upAndDownMoveTheFocus()
{
    QFETCH(int, from);
    QFETCH(Qt::Key, key);
    QFETCH(int, to);
    Session s;
    QVERIFY(s.Ready());
    s.SetRange(12, 12, from);
    s.p.PushState() = 2;
    QSignalSpy composed(s.p.lbPass(), &ChangeLabel::Change);
    s.Key(key);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(s.p.sldLen(to)));
    CHECK_STATE(s, 12, 12, from == to ? 2 : 0);
    QCOMPARE(composed.count(), 0);
}

// PageUp and PageDown step by 5 within the slider's range; the step is 5 while the key is down
// and 1 after it is released, also on the maximum slider whose step starts at 1.
void TestSliders::pageKeysStepByFive_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("start");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("largeChange"); // before the first page key
    QTest::addColumn<int>("expected");
    QTest::newRow("PageUp on min") << 0 << 6 << Qt::Key_PageUp << 5 << 11;
    QTest::newRow("PageDown on min, to its end") << 0 << 6 << Qt::Key_PageDown << 5 << 3;
    QTest::newRow("PageUp on max") << 1 << 8 << Qt::Key_PageUp << 1 << 13;
    QTest::newRow("PageUp on max, to its end") << 1 << 38 << Qt::Key_PageUp << 1 << 40;
    QTest::newRow("PageDown on max") << 1 << 38 << Qt::Key_PageDown << 1 << 33;
}

void TestSliders::pageKeysStepByFive()
{
    QFETCH(int, index);
    QFETCH(int, start);
    QFETCH(Qt::Key, key);
    QFETCH(int, largeChange);
    QFETCH(int, expected);
    Session s;
    QVERIFY(s.Ready());
    TrackSlider *slider = s.p.sldLen(index);
    QCOMPARE(slider->LargeChange(), largeChange);
    if (index == 0)
        s.SetRange(start, 40, 0);
    else
        s.SetRange(3, start, 1);
    QTest::keyPress(slider, key);
    QCOMPARE(slider->Value(), expected);
    QCOMPARE(slider->LargeChange(), 5);
    QTest::keyRelease(slider, key);
    QCOMPARE(slider->LargeChange(), 1);
    QCOMPARE(s.p.sldLen(1 - index)->LargeChange(), index == 0 ? 1 : 5); // the other is untouched
    QCOMPARE(s.p.lbLimits()->Caption(), s.Range());
    QCOMPARE(int(s.p.PushState()), 0);
}

// The thumb is drawn where a press finds its value: centred on the value's place within a pixel,
// on both sliders, with the tick marks above 10, 20, 30 and 40 falling on the thumb, whichever
// of the built-in styles draws it.
void TestSliders::thumbStandsOnTheScale_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("value");
    for (const QString &style : QStyleFactory::keys())
        for (int index = 0; index < 2; ++index)
            for (int value : {3, 6, 7, 10, 20, 23, 30, 39, 40})
                if (value >= (index == 0 ? 3 : 6))
                    QTest::addRow("%s, %s, %d", qPrintable(style), index == 0 ? "min" : "max",
                                  value)
                        << style << index << value;
}

void TestSliders::thumbStandsOnTheScale()
{
    QFETCH(QString, style);
    QFETCH(int, index);
    QFETCH(int, value);
    const QString was = QApplication::style()->name();
    QApplication::setStyle(QStyleFactory::create(style)); // deletes the style it replaces
    {
        Session s;
        QVERIFY(s.Ready());
        TrackSlider *slider = s.p.sldLen(index);
        slider->setValue(value);
        const QRect thumb = slider->ThumbRect();
        QVERIFY2(std::abs(thumb.center().x() - Column(index, value)) <= 1,
                 qPrintable(QStringLiteral("thumb %1..%2").arg(thumb.left()).arg(thumb.right())));
        QVERIFY(thumb.left() >= 0 && thumb.right() < slider->width());
        // The thumb is a press target for its value: a press on its centre keeps the value
        // and grabs the thumb.
        QTest::mousePress(slider, Qt::LeftButton, {}, thumb.center());
        QCOMPARE(slider->Value(), value);
        QVERIFY(slider->isSliderDown());
        QTest::mouseRelease(slider, Qt::LeftButton, {}, thumb.center());
        if (value % 10 == 0) {
            const QRect tick = s.p.lnTick(value / 10 - 1)->geometry();
            const QRect drawn = thumb.translated(slider->pos());
            QVERIFY(tick.left() >= drawn.left() && tick.right() <= drawn.right());
        }
    }
    QApplication::setStyle(QStyleFactory::create(was));
}

QTEST_MAIN(TestSliders)
#include "tst_sliders.moc"

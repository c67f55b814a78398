// The length range sliders on the offscreen platform, driven by real mouse, wheel and key events:
// the soft stop and the push in every line of the PushState table, the press that puts a thumb
// under the pointer, Up/Down between the sliders, PageUp/PageDown by 5, and the drawn thumb.

#include "controls/fonts.h"
#include "controls/twips.h"
#include "probe.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <utility>

using namespace zintrova;

namespace {

// The pixel column where the mouse rule centres value n: 195n - 465 twips on the minimum slider,
// 195n - 1050 on the maximum.
int Column(int index, int n)
{
    return (195 * n - (index == 0 ? 465 : 1050)) / TwipsPerPixel;
}

// Plays a script on a new window (6 - 8, the focus on the minimum slider). Actions: cI:N click
// and dI:N press on slider I at the place of value N, mN drag to N, u release; kK key click, +K key
// press (a repeat while K is held), - release of the held key, with K among R L U D (arrows),
// ^ v (PageUp, PageDown), H (Home), S (Shift); wI+N wheel notches over slider I; sN forces
// PushState; g clicks Generate. Checks: =MIN,MAX,PUSHSTATE (and the range label), FI focus on
// slider I, #N password length, nN passwords composed since the last nN, LN the focused
// slider's LargeChange.
void Run(const QString &script)
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCoreApplication::processEvents();
    QSignalSpy composed(p.lbPass(), &ChangeLabel::Change);
    const Qt::Key keys[] = {Qt::Key(0),       Qt::Key_Right, Qt::Key_Left,
                            Qt::Key_Up,       Qt::Key_Down,  Qt::Key_PageUp,
                            Qt::Key_PageDown, Qt::Key_Home,  Qt::Key_Shift};
    const auto focus = [] { return QApplication::focusWidget(); };
    const auto focused = [&] {
        return focus() == p.sldLen(0) ? 0 : focus() == p.sldLen(1) ? 1 : -1;
    };
    TrackSlider *mouse = nullptr;
    int pointer = 0;
    const auto at = [&] {
        return QPoint(Column(mouse == p.sldLen(1), pointer), mouse->height() / 2);
    };
    Qt::Key held = Qt::Key(0);
    QString done;
    for (const QString &t : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        done += t + QLatin1Char(' ');
        const QString arg = t.mid(1);
        const Qt::Key key = keys[QStringLiteral("RLUD^vHS").indexOf(arg.left(1)) + 1];
        const int v0 = p.sldLen(0)->Value(), v1 = p.sldLen(1)->Value();
        QString got = t;
        switch (t[0].toLatin1()) {
        case 'c':
        case 'd':
            mouse = p.sldLen(arg.left(1).toInt());
            pointer = arg.section(QLatin1Char(':'), 1).toInt();
            QTest::mousePress(mouse, Qt::LeftButton, {}, at());
            if (t[0] == QLatin1Char('c')) QTest::mouseRelease(mouse, Qt::LeftButton, {}, at());
            break;
        case 'm': pointer = arg.toInt(), QTest::mouseMove(mouse, at()); break;
        case 'u': QTest::mouseRelease(mouse, Qt::LeftButton, {}, at()); break;
        case 'k': QTest::keyPress(focus(), key), QTest::keyRelease(focus(), key); break;
        case '+':
            if (held != key) {
                QTest::keyPress(focus(), held = key);
            } else { // the keyboard's repeat
                QTest::simulateEvent(focus(), false, key, {}, {}, true);
                QTest::simulateEvent(focus(), true, key, {}, {}, true);
            }
            break;
        case '-': QTest::keyRelease(focus(), std::exchange(held, Qt::Key(0))); break;
        case 'w': {
            TrackSlider *s = p.sldLen(arg.left(1).toInt());
            const QPointF mid(s->width() / 2, s->height() / 2);
            QWheelEvent e(mid, s->mapToGlobal(mid), {}, {0, 120 * arg.mid(1).toInt()}, Qt::NoButton,
                          {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(s, &e);
            break;
        }
        case 's': p.PushState() = std::int16_t(arg.toInt()); break;
        case 'g': QTest::mouseClick(p.cmGen(), Qt::LeftButton); break;
        case '=':
            got = QStringLiteral("=%1,%2,%3").arg(v0).arg(v1).arg(p.PushState());
            if (p.lbLimits()->Caption() != QStringLiteral("%1 - %2").arg(v0).arg(v1))
                got += QStringLiteral(" shown as ") + p.lbLimits()->Caption();
            break;
        case 'F': got = QStringLiteral("F%1").arg(focused()); break;
        case '#': got = QStringLiteral("#%1").arg(p.lbPass()->Caption().size()); break;
        case 'n': got = QStringLiteral("n%1").arg(composed.count()), composed.clear(); break;
        case 'L':
            got =
                QStringLiteral("L%1").arg(focused() < 0 ? -1 : p.sldLen(focused())->LargeChange());
            break;
        default: QFAIL(qPrintable(QStringLiteral("no such step: ") + t));
        }
        QCoreApplication::processEvents();
        QVERIFY2(got == t, qPrintable(QStringLiteral("after %1got %2").arg(done, got)));
    }
}

} // namespace

class TestSliders : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void pushStateTransitions_data();
    void pushStateTransitions()
    {
        QFETCH(QString, script);
        Run(script);
    }
    void acceptance_data();
    void acceptance()
    {
        QFETCH(QString, script);
        Run(script);
    }
    void pushedSliderMovedBackComposes();
    void pressPutsThumbUnderPointer_data();
    void pressPutsThumbUnderPointer();
    void thumbStandsOnTheScale();
};

// Every line of the PushState table. "kR kR +R" holds the minimum at the stop 8 - 8.
void TestSliders::pushStateTransitions_data()
{
    QTest::addColumn<QString>("script");
    QTest::newRow("any -> 0: GotFocus by Down, from 1") << "kR kR +R =8,8,1 +D F1 =8,8,0";
    QTest::newRow("any -> 0: GotFocus by a click, from 2") << "kR kR +R - =8,8,2 c1:8 F1 =8,8,0";
    QTest::newRow("any -> 0: Change, min < max, from 2") << "kR kR +R - d0:7 =7,8,0 u =7,8,0";
    QTest::newRow("any -> 0: Change, min < max, from 1") << "kR kR +R =8,8,1 d0:5 =5,8,0";
    QTest::newRow("any -> 0: KeyUp, min < max") << "s2 kS =6,8,0";
    QTest::newRow("1 -> 0: Scroll, min < max, value unchanged") << "kH =3,8,0 s1 +H =3,8,0";
    QTest::newRow("1 -> 0: Scroll, min < max, thumb moved back") << "kR kR +R =8,8,1 +L =7,8,0";
    QTest::newRow("0 -> 1: Scroll, min > max, by the wheel") << "kR kR =8,8,0 w1-1 =8,8,1 F0";
    QTest::newRow("1 -> 1: Scroll, min > max, held again") << "kR kR +R +R +R =8,8,1";
    QTest::newRow("1 -> 2: MouseUp on the moved slider") << "d0:6 m7 m8 m9 =8,8,1 u =8,8,2";
    QTest::newRow("1 -> 2: MouseUp on the other slider")
        << "kR kR kD w0+1 =8,8,1 d1:8 =8,8,1 u =8,8,2";
    QTest::newRow("1 -> 2: KeyUp, min >= max") << "kR kR +R =8,8,1 - =8,8,2";
    QTest::newRow("2 -> 2: Scroll, min > max, pushes") << "kR kR +R - +R =9,9,2 - =9,9,2";
    QTest::newRow("2 -> 2: the wheel pushes, the focus stays")
        << "kR kR +R - kD s2 w0+1 =11,11,2 F1";
}

void TestSliders::acceptance_data()
{
    QTest::addColumn<QString>("script");
    // Each thumb moved into the other: stop, release, push on, part, and stop at the next contact.
    QTest::newRow("minimum by mouse") << "d0:6 m8 =8,8,0 m9 =8,8,1 u =8,8,2 d0:8 m9 =9,9,2 m10 "
                                         "=10,10,2 u d0:10 m7 =7,10,0 u d0:7 m10 =10,10,0 m11 "
                                         "=10,10,1 u =10,10,2";
    QTest::newRow("minimum by arrow keys") << "kR kR =8,8,0 +R =8,8,1 - =8,8,2 +R =9,9,2 +R "
                                              "=10,10,2 - +L +L +L =7,10,0 - +R +R +R =10,10,0 "
                                              "+R =10,10,1 - =10,10,2";
    QTest::newRow("minimum by page keys")
        << "c1:16 c0:6 k^ k^ =16,16,0 +^ =16,16,1 - =16,16,2 L1 +^ =21,21,2 +^ =26,26,2 - +v +v "
           "+v =11,26,0 - +^ +^ +^ =26,26,0 +^ =26,26,1 - =26,26,2";
    QTest::newRow("maximum by mouse")
        << "c1:12 c0:10 d1:12 m10 =10,10,0 m9 =10,10,1 u =10,10,2 d1:10 m9 =9,9,2 m8 =8,8,2 u "
           "d1:8 m11 =8,11,0 u d1:11 m8 =8,8,0 m7 =8,8,1 u =8,8,2";
    QTest::newRow("maximum by arrow keys")
        << "c1:12 c0:10 kD kL kL =10,10,0 +L =10,10,1 - =10,10,2 +L =9,9,2 +L =8,8,2 - +R +R +R "
           "=8,11,0 - +L +L +L =8,8,0 +L =8,8,1 - =8,8,2";
    QTest::newRow("maximum by page keys")
        << "c1:30 c0:20 kD kv kv =20,20,0 +v =20,20,1 - =20,20,2 +v =15,15,2 +v =10,10,2 - +^ +^ "
           "+^ =10,25,0 - +v +v +v =10,10,0 +v =10,10,1 - =10,10,2";
    QTest::newRow("a press crosses the range until a Scroll couples")
        << "c0:20 =20,8,0 #20 g #20 c1:8 F1 kR =20,20,2 #20";
    QTest::newRow("Up and Down move the focus, change no value")
        << "c1:12 c0:12 s2 kU F0 =12,12,2 kD F1 =12,12,0 s2 kD F1 =12,12,2 kU F0 =12,12,0";
    QTest::newRow("PageUp and PageDown step by 5 within the range")
        << "c1:38 c0:6 +^ L5 =11,38,0 - L1 kv kv =3,38,0 kD L1 +^ L5 =3,40,0 - L1 kv =3,35,0";
    QTest::newRow("a stop composes nothing, a push composes once")
        << "kR kR n2 d0:8 m9 m10 u =8,8,2 n0 d0:8 m9 =9,9,2 n1 #9 m10 u =10,10,2 n1";
    QTest::newRow("a press puts the thumb under the pointer and drags it on from there")
        << "c1:40 d0:15 =15,40,0 m17 =17,40,0 m16 u =16,40,0";
}

// Pushed down to 8 - 8 from 9 - 9 and clicked back to 9, the minimum composes a password of 9.
void TestSliders::pushedSliderMovedBackComposes()
{
    Run("kR kR kR kR =9,9,2 kD kL kL =8,8,2 c0:9 =9,8,0 #9");
}

// A press sets the value whose place is nearest the pointer (the slider's end at its outer
// edges), and MouseDown/MouseUp report the button, Shift and the place in twips.
void TestSliders::pressPutsThumbUnderPointer_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("x"); // pixels from the slider's left edge
    QTest::addColumn<int>("value");
    // The middle button is the absolute-set button of the style: its press is still no Scroll.
    QTest::newRow("min, 1485 twips, crossing") << 0 << Qt::MiddleButton << 4 << 99 << 10;
    QTest::newRow("min, 120 twips") << 0 << Qt::RightButton << 2 << 8 << 3;
    QTest::newRow("min, last column of 9") << 0 << Qt::LeftButton << 1 << 92 << 9;
    QTest::newRow("min, first column of 10") << 0 << Qt::LeftButton << 1 << 93 << 10;
    QTest::newRow("min, left edge (the rule gives 2)") << 0 << Qt::LeftButton << 1 << 0 << 3;
    QTest::newRow("max, 1860 twips") << 1 << Qt::LeftButton << 1 << 124 << 15;
    QTest::newRow("max, right edge (the rule gives 41)") << 1 << Qt::LeftButton << 1 << 459 << 40;
}

void TestSliders::pressPutsThumbUnderPointer()
{
    QFETCH(int, index);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, code);
    QFETCH(int, x);
    QFETCH(int, value);
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    TrackSlider *slider = p.sldLen(index);
    QSignalSpy down(slider, &TrackSlider::MouseDown), up(slider, &TrackSlider::MouseUp);
    QTest::mouseClick(slider, button, Qt::ShiftModifier, QPoint(x, 13));
    QCOMPARE(p.lbLimits()->Caption(), index == 0 ? QStringLiteral("%1 - 8").arg(value)
                                                 : QStringLiteral("6 - %1").arg(value));
    const QList<QVariant> args{code, 1, float(x * 15), float(13 * 15)};
    QCOMPARE(down.value(0), args);
    QCOMPARE(up.value(0), args);
}

// The thumb is drawn centred on its value's place within a pixel, a press on it grabs it without
// moving it, and at 10, 20, 30 and 40 the tick above the slider falls on the thumb.
void TestSliders::thumbStandsOnTheScale()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const std::initializer_list<int> values[] = {{3, 10, 27, 40}, {6, 20, 33, 40}};
    for (int index = 0; index < 2; ++index) {
        TrackSlider *slider = p.sldLen(index);
        for (int value : values[index]) {
            slider->setValue(value);
            const QRect thumb = slider->ThumbRect(), drawn = thumb.translated(slider->pos());
            const QByteArray where = QStringLiteral("slider %1 at %2: thumb %3..%4")
                                         .arg(index)
                                         .arg(value)
                                         .arg(thumb.left())
                                         .arg(thumb.right())
                                         .toLatin1();
            QVERIFY2(std::abs(thumb.center().x() - Column(index, value)) <= 1, where);
            QTest::mousePress(slider, Qt::LeftButton, {}, thumb.center());
            QVERIFY2(slider->Value() == value && slider->isSliderDown(), where);
            QTest::mouseRelease(slider, Qt::LeftButton, {}, thumb.center());
            const QRect tick = value % 10 ? drawn : p.lnTick(value / 10 - 1)->geometry();
            QVERIFY2(tick.left() >= drawn.left() && tick.right() <= drawn.right(), where);
        }
    }
}

QTEST_MAIN(TestSliders)
#include "tst_sliders.moc"

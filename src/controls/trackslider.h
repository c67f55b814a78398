#pragma once
// A horizontal slider (track bar) with the events and properties the length handlers are written
// against:
//   Scroll     after each move the user makes (drag, keys, channel clicks, wheel), with Value
//              already at its new place;
//   Change     on every change of Value: a value set from code raises it before the setter
//              returns; a user's move raises it after that move's Scroll, if the value then
//              still differs from the one Change last reported (Scroll may have set it back),
//              so that a Scroll handler that moves another slider along is done before the
//              moved slider's Change looks at both values;
//   MouseDown  before the slider acts on a press, MouseUp after it has acted on a release, with
//              the button (1 left, 2 right, 4 middle), the Shift/Ctrl/Alt mask and the position
//              in twips from the slider's own top-left corner;
//   LargeChange, the PageUp/PageDown step, and SmallChange, the arrow-key step;
//   Muted, the change handling's mute switch (see setMuted).
// Key events reach ControlKeys (keyboard.h) installed on the slider before the slider acts on
// them; focus events come from FocusEvents.
//
// Once given a scale (setScale), the thumb stands on it: the value Min is centred FirstTick twips
// from the slider's left edge and every further value TickSpacing twips to the right of the one
// before, whatever the platform style would do on its own; the thumb keeps the style's size and
// look. Without a scale the style places the thumb.

#include <QSlider>

namespace zintrova {

class TrackSlider : public QSlider {
    Q_OBJECT
public:
    explicit TrackSlider(QWidget *parent = nullptr);

    int Value() const { return value(); }
    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    void setLargeChange(int step) { setPageStep(step); }
    void setSmallChange(int step) { setSingleStep(step); }

    // The mute switch of the change handling: switched on around a value set from code, it keeps
    // the slider's change handlers out of that set. Only the handling is muted, not the widget:
    // the switch is flipped inside one handler, and disabling the widget for that moment would
    // take the focus (and a mouse grab) away from it and never give them back.
    void setMuted(bool muted) { muted_ = muted; }
    // Whether the change handlers leave the slider alone: muted, or the widget disabled for real.
    bool Muted() const { return muted_ || !isEnabled(); }

    // The scale in twips: the centre of the thumb at Min, and the distance between two values
    // (0: no scale).
    void setScale(int firstTick, int tickSpacing);
    int TickSpacing() const { return tickSpacing_; }
    // The pixel column of the thumb's centre for a value, from the slider's left edge.
    int CentreColumn(int value) const;

    // The thumb's rectangle as the slider draws it at its current position.
    QRect ThumbRect() const;

signals:
    void Change();
    void Scroll();
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void timerEvent(QTimerEvent *e) override;

private:
    // Runs one piece of the slider's own input handling, then raises Scroll once if the user
    // moved the thumb in it, then Change if the value moved. Qt announces a move before it sets
    // the value; counting the announcements and raising Scroll only when the handling has
    // returned puts Value in place.
    // With onlyIfMoved, an announced move that leaves the value where it was raises no Scroll.
    template <class F> void UserInput(F &&handling, bool onlyIfMoved = false);
    void ValueChanged(int value);

    int firstTick_ = 0;
    int tickSpacing_ = 0;
    bool muted_ = false;
    int moves_ = 0; // moves announced so far
    bool inUserInput_ = false;
    int reported_ = 0; // the value that Change last reported
};

} // namespace zintrova

#pragma once
// An up-down spinner: two stacked arrow buttons that step an integer Value between Min and Max,
// drawn with the style's spin-box arrows. Like the platform's up-down control it steps once on
// the press of an arrow and then keeps stepping while the arrow is held (pausing while the
// pointer is off the arrow); the Up and Down keys step it while it has the focus. It takes the
// focus by Tab only, never by a click. Screen readers see it as a spin box: its value, and
// increase and decrease actions that step it as the arrows do.

#include <QTimer>
#include <QWidget>

namespace zintrova {

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget *parent = nullptr);

    int Value() const { return value_; }
    // Kept within Min..Max. Raises Change, before it returns, when the value actually changes.
    void setValue(int value);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void setRange(int min, int max);
    int Increment() const { return increment_; }
    void setIncrement(int step) { increment_ = step; }

    // The mute switch. The window turns it on for a moment around setting the value from code, so
    // that its change handling can tell its own echo from a user's step. While muted the arrows
    // are greyed and ignore the mouse and the keys; the widget keeps the keyboard focus, which a
    // disabled QWidget would give away, and a momentary switch must never do.
    bool Muted() const { return muted_; }
    void setMuted(bool muted);

    QSize sizeHint() const override;

    // The arrows' rectangles, in the widget's coordinates (for tests and for hit testing).
    QRect UpRect() const;
    QRect DownRect() const;

signals:
    void Change();
    void UpClick();
    void DownClick();
    // Button: 1 left, 2 right, 4 middle. Shift: 1 Shift, 2 Ctrl, 4 Alt. X, Y in twips.
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void hideEvent(QHideEvent *e) override;

private:
    friend class UpDownAccessible;
    enum class Arrow { None, Up, Down };
    Arrow ArrowAt(QPoint pos) const;
    void Step(Arrow arrow);
    void Repeat();

    int value_ = 0;
    int min_ = 0;
    int max_ = 10;
    int increment_ = 1;
    bool muted_ = false;
    Arrow pressed_ = Arrow::None; // the arrow held with the left button
    bool overPressed_ = false;    // the pointer is on the held arrow
    QTimer repeat_;
};

} // namespace zintrova

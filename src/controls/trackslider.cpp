#include "controls/trackslider.h"

#include "controls/keyboard.h"
#include "controls/twips.h"

#include <QApplication>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QStyleOptionSlider>

namespace zintrova {

namespace {

// The platform style with one change: on a slider that has a scale, the thumb and the channel
// are moved along the slider so that each value's thumb is centred on its place of the scale.
// Both the drawing and the slider's own mouse handling (hit test, dragging) ask the style for
// these rectangles, so they agree with each other and with the scale.
class ScaleStyle : public QProxyStyle {
public:
    explicit ScaleStyle(const QString &baseKey) : QProxyStyle(baseKey) {}

    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex *opt, SubControl sc,
                         const QWidget *widget) const override
    {
        QRect r = QProxyStyle::subControlRect(cc, opt, sc, widget);
        const auto *slider = qobject_cast<const TrackSlider *>(widget);
        const auto *so = qstyleoption_cast<const QStyleOptionSlider *>(opt);
        if (cc != CC_Slider || !slider || !so || so->orientation != Qt::Horizontal ||
            slider->TickSpacing() <= 0)
            return r;
        // The style's own thumb keeps its size; only its place along the slider changes.
        const int len = sc == SC_SliderHandle
                            ? r.width()
                            : QProxyStyle::subControlRect(cc, opt, SC_SliderHandle, widget).width();
        const auto left = [&](int value) {
            return so->rect.x() + slider->CentreColumn(value) - (len - 1) / 2;
        };
        if (sc == SC_SliderHandle) {
            r.moveLeft(left(so->upsideDown ? so->maximum + so->minimum - so->sliderPosition
                                           : so->sliderPosition));
        } else if (sc == SC_SliderGroove) {
            // The channel runs from the thumb at Min to the thumb at Max: the slider reads a
            // dragged thumb's value from where its left edge stands between these two places.
            r.setLeft(left(so->minimum));
            r.setRight(left(so->maximum) + len - 1);
        }
        return r;
    }
};

} // namespace

TrackSlider::TrackSlider(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    reported_ = value();
    connect(this, &QAbstractSlider::valueChanged, this, &TrackSlider::ValueChanged);
    connect(this, &QAbstractSlider::actionTriggered, this, [this] { ++moves_; });
}

void TrackSlider::ValueChanged(int value)
{
    if (inUserInput_) return; // reported after the move's Scroll
    reported_ = value;
    emit Change();
}

void TrackSlider::setScale(int firstTick, int tickSpacing)
{
    firstTick_ = firstTick;
    tickSpacing_ = tickSpacing;
    if (tickSpacing_ > 0 && !dynamic_cast<ScaleStyle *>(style())) {
        // A style of its own, owned by the slider, on top of the application's style.
        auto *s = new ScaleStyle(QApplication::style()->name());
        s->setParent(this);
        setStyle(s);
    }
    update();
}

int TrackSlider::CentreColumn(int value) const
{
    return Px(firstTick_ + (value - minimum()) * tickSpacing_);
}

QRect TrackSlider::ThumbRect() const
{
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    return style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
}

template <class F> void TrackSlider::UserInput(F &&handling, bool onlyIfMoved)
{
    const int before = moves_;
    const int was = value();
    inUserInput_ = true;
    handling();
    inUserInput_ = false;
    if (moves_ != before && (!onlyIfMoved || value() != was)) emit Scroll();
    if (value() != reported_) {
        reported_ = value();
        emit Change();
    }
}

void TrackSlider::mousePressEvent(QMouseEvent *e)
{
    const QPointF at = e->position() * TwipsPerPixel;
    emit MouseDown(MouseButtonCode(e->button()), ShiftState(e->modifiers()), float(at.x()),
                   float(at.y()));
    // MouseDown has usually put the thumb under the pointer already, and the style may then
    // announce a move onto the value the thumb has (an absolute-set button): that is no scroll.
    // A click in the channel that pages the thumb along is one.
    UserInput([&] { QSlider::mousePressEvent(e); }, true);
}

void TrackSlider::mouseMoveEvent(QMouseEvent *e)
{
    UserInput([&] { QSlider::mouseMoveEvent(e); });
}

void TrackSlider::mouseReleaseEvent(QMouseEvent *e)
{
    UserInput([&] { QSlider::mouseReleaseEvent(e); });
    const QPointF at = e->position() * TwipsPerPixel;
    emit MouseUp(MouseButtonCode(e->button()), ShiftState(e->modifiers()), float(at.x()),
                 float(at.y()));
}

void TrackSlider::keyPressEvent(QKeyEvent *e)
{
    UserInput([&] { QSlider::keyPressEvent(e); });
}

void TrackSlider::wheelEvent(QWheelEvent *e)
{
    UserInput([&] { QSlider::wheelEvent(e); });
}

void TrackSlider::timerEvent(QTimerEvent *e)
{
    // The repeat of a held channel click.
    UserInput([&] { QSlider::timerEvent(e); });
}

} // namespace zintrova

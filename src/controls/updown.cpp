#include "controls/updown.h"

#include "controls/keyboard.h"
#include "controls/twips.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace zintrova {

// What a screen reader sees of the spinner: a spin box with a value, stepped by its actions.
class UpDownAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit UpDownAccessible(UpDown *w) : QAccessibleWidget(w, QAccessible::SpinBox) {}
    UpDown *upDown() const { return static_cast<UpDown *>(widget()); }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value) return QString::number(upDown()->Value());
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return upDown()->Value(); }
    void setCurrentValue(const QVariant &value) override { upDown()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return upDown()->Max(); }
    QVariant minimumValue() const override { return upDown()->Min(); }
    QVariant minimumStepSize() const override { return upDown()->Increment(); }
    QStringList actionNames() const override
    {
        return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &name) override
    {
        if (name == increaseAction() || name == decreaseAction()) {
            if (!upDown()->muted_)
                upDown()->Step(name == increaseAction() ? UpDown::Arrow::Up : UpDown::Arrow::Down);
            return;
        }
        QAccessibleWidget::doAction(name);
    }
};

namespace {
QAccessibleInterface *UpDownAccessibility(const QString &, QObject *object)
{
    auto *w = qobject_cast<UpDown *>(object);
    return w ? new UpDownAccessible(w) : nullptr;
}
} // namespace

UpDown::UpDown(QWidget *parent) : QWidget(parent)
{
    static const bool accessible = (QAccessible::installFactory(UpDownAccessibility), true);
    (void)accessible;
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    connect(&repeat_, &QTimer::timeout, this, &UpDown::Repeat);
}

void UpDown::setValue(int value)
{
    value = std::clamp(value, min_, max_);
    if (value == value_) return;
    value_ = value;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent changed(this, value_);
        QAccessible::updateAccessibility(&changed);
    }
    emit Change();
}

void UpDown::setRange(int min, int max)
{
    min_ = min;
    max_ = std::max(min, max);
    setValue(value_);
}

void UpDown::setMuted(bool muted)
{
    if (muted == muted_) return;
    muted_ = muted;
    if (muted) {
        repeat_.stop();
        pressed_ = Arrow::None;
    }
    update();
}

QSize UpDown::sizeHint() const
{
    return {Px(240), Px(495)};
}

QRect UpDown::UpRect() const
{
    return {0, 0, width(), height() / 2};
}

QRect UpDown::DownRect() const
{
    return {0, height() / 2, width(), height() - height() / 2};
}

UpDown::Arrow UpDown::ArrowAt(QPoint pos) const
{
    if (UpRect().contains(pos)) return Arrow::Up;
    if (DownRect().contains(pos)) return Arrow::Down;
    return Arrow::None;
}

void UpDown::Step(Arrow arrow)
{
    if (arrow == Arrow::None) return;
    setValue(value_ + (arrow == Arrow::Up ? increment_ : -increment_));
    if (arrow == Arrow::Up)
        emit UpClick();
    else
        emit DownClick();
}

void UpDown::Repeat()
{
    // The first repeat waits the style's threshold, the others follow at its rate.
    repeat_.setInterval(style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, this));
    if (overPressed_) Step(pressed_);
}

void UpDown::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    for (const Arrow arrow : {Arrow::Up, Arrow::Down}) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = arrow == Arrow::Up ? UpRect() : DownRect();
        button.state &= ~(QStyle::State_Enabled | QStyle::State_MouseOver | QStyle::State_HasFocus);
        if (!muted_ && isEnabled()) button.state |= QStyle::State_Enabled;
        if (!muted_ && underMouse() && ArrowAt(mapFromGlobal(QCursor::pos())) == arrow)
            button.state |= QStyle::State_MouseOver;
        if (pressed_ == arrow && overPressed_)
            button.state |= QStyle::State_Sunken;
        else
            button.state |= QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &p, this);
        QStyleOption indicator = button;
        const int inset = std::max(1, button.rect.height() / 5);
        indicator.rect = button.rect.adjusted(inset, inset, -inset, -inset);
        style()->drawPrimitive(arrow == Arrow::Up ? QStyle::PE_IndicatorSpinUp
                                                  : QStyle::PE_IndicatorSpinDown,
                               &indicator, &p, this);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void UpDown::mousePressEvent(QMouseEvent *e)
{
    if (muted_) return;
    const QPoint pos = e->position().toPoint();
    emit MouseDown(MouseButtonCode(e->button()), ShiftState(e->modifiers()), float(Twips(pos.x())),
                   float(Twips(pos.y())));
    if (e->button() != Qt::LeftButton || pressed_ != Arrow::None) return;
    pressed_ = ArrowAt(pos);
    overPressed_ = pressed_ != Arrow::None;
    if (!overPressed_) return;
    Step(pressed_);
    repeat_.start(style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold, nullptr, this));
    update();
}

void UpDown::mouseMoveEvent(QMouseEvent *e)
{
    if (pressed_ == Arrow::None) return;
    const bool over = ArrowAt(e->position().toPoint()) == pressed_;
    if (over != overPressed_) {
        overPressed_ = over;
        update();
    }
}

void UpDown::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && pressed_ != Arrow::None) {
        repeat_.stop();
        pressed_ = Arrow::None;
        overPressed_ = false;
        update();
    }
    if (muted_) return;
    const QPoint pos = e->position().toPoint();
    emit MouseUp(MouseButtonCode(e->button()), ShiftState(e->modifiers()), float(Twips(pos.x())),
                 float(Twips(pos.y())));
}

void UpDown::keyPressEvent(QKeyEvent *e)
{
    if (!muted_ && e->modifiers() == Qt::NoModifier &&
        (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down)) {
        Step(e->key() == Qt::Key_Up ? Arrow::Up : Arrow::Down);
        return;
    }
    QWidget::keyPressEvent(e);
}

// Hidden (its window closed), it lets go of a held arrow: no step without a window to show it.
void UpDown::hideEvent(QHideEvent *e)
{
    repeat_.stop();
    pressed_ = Arrow::None;
    overPressed_ = false;
    QWidget::hideEvent(e);
}

} // namespace zintrova

#include "controls/controls.h"

#include "controls/twips.h"
#include "engine/secret.h"

#include <QPainter>

namespace zintrova {

ChangeLabel::ChangeLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void ChangeLabel::setCaption(const QString &caption)
{
    if (caption == text()) return;
    // A caption may be a password. The previous one is overwritten once nothing holds it any
    // more: the change handlers may keep a copy of it until they have seen the new one.
    QString previous = text();
    setText(caption);
    if (AutoSize) resize(sizeHint());
    emit Change();
    ReleaseSecret(previous);
}

void ChangeLabel::setForeColor(const QColor &c)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, c);
    setPalette(p);
}

QColor ChangeLabel::ForeColor() const
{
    return palette().color(QPalette::WindowText);
}

ValueCheckBox::ValueCheckBox(const QString &caption, QWidget *parent) : QCheckBox(caption, parent)
{
    setTristate(true);
    connect(this, &QCheckBox::stateChanged, this, &ValueCheckBox::Click);
}

int ValueCheckBox::Value() const
{
    switch (checkState()) {
    case Qt::Unchecked: return 0;
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: break;
    }
    return 2;
}

bool ValueCheckBox::setValue(int value)
{
    static constexpr Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    if (value < 0 || value > 2) return false;
    setCheckState(states[value]);
    return true;
}

void ValueCheckBox::nextCheckState()
{
    setValue(Value() == 1 ? 0 : 1);
}

CommandButton::CommandButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
}

void CommandButton::setFontBold(bool bold)
{
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

EventTimer::EventTimer(int interval, QObject *parent) : QObject(parent)
{
    timer_.setInterval(interval);
    connect(&timer_, &QTimer::timeout, this, &EventTimer::Timer);
}

void EventTimer::setEnabled(bool on)
{
    if (!on)
        timer_.stop();
    else if (!timer_.isActive())
        timer_.start();
}

RectShape::RectShape(const QColor &border, QWidget *parent) : QWidget(parent), border_(border)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RectShape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(QPen(border_, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

LineShape::LineShape(QWidget *parent, int x1, int y1, int x2, int y2, int width,
                     QPalette::ColorRole role)
    : QWidget(parent), role_(role)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const QPoint a = TwipsPoint(x1, y1), b = TwipsPoint(x2, y2);
    if (a.y() == b.y())
        setGeometry(std::min(a.x(), b.x()), a.y(), std::abs(b.x() - a.x()) + 1, width);
    else
        setGeometry(a.x(), std::min(a.y(), b.y()), width, std::abs(b.y() - a.y()) + 1);
}

void LineShape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(role_));
}

} // namespace zintrova

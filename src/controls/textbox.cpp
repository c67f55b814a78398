#include "controls/textbox.h"

namespace zintrova {

TextBox::TextBox(const QString &text, QWidget *parent) : QLineEdit(text, parent) {}

QColor TextBox::BackColor() const
{
    return palette().color(QPalette::Base);
}

void TextBox::setBackColor(const QColor &c)
{
    if (c == BackColor()) return;
    QPalette p = palette();
    p.setColor(QPalette::Base, c);
    setPalette(p);
}

QColor TextBox::ForeColor() const
{
    return palette().color(QPalette::Text);
}

void TextBox::setForeColor(const QColor &c)
{
    if (c == ForeColor()) return;
    QPalette p = palette();
    p.setColor(QPalette::Text, c);
    setPalette(p);
}

void TextBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    emit DblClick();
}

} // namespace zintrova

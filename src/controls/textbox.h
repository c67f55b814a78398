#pragma once
// A one-line text box with the events and properties its handlers are written against: Change
// is QLineEdit::textChanged (raised by code as well as by typing), DblClick after the box's own
// double-click handling, and settable background and text colours.

#include <QColor>
#include <QLineEdit>

namespace zintrova {

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(const QString &text, QWidget *parent = nullptr);
    QColor BackColor() const;
    void setBackColor(const QColor &c);
    QColor ForeColor() const;
    void setForeColor(const QColor &c);

signals:
    void DblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent *e) override;
};

} // namespace zintrova

#pragma once
// Small adapters that give Qt widgets the events and properties the main window's handlers are
// written against: change events raised synchronously by code as well as by the user, a
// three-valued check box, timers whose Enabled switch restarts them, command buttons that can
// be the window's default (Enter) or cancel (Escape) button, and decoration shapes.

#include <QCheckBox>
#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace zintrova {

// A label whose caption setter raises Change whenever the text actually changes. Captions are
// plain text: "&" is shown as itself. A caption that is replaced is overwritten in memory as soon
// as nothing else holds it (secret/secret.h), so that a password on show leaves no trace.
class ChangeLabel : public QLabel {
    Q_OBJECT
public:
    explicit ChangeLabel(QWidget *parent = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString &caption);
    // Sizes the label to its caption after every change, as an auto-sizing label does.
    bool AutoSize = false;
    void setForeColor(const QColor &c);
    QColor ForeColor() const;

signals:
    void Change();
};

// A check box whose Value is 0 (off), 1 (on) or 2 (greyed). Click is raised on every change of
// the value, whether the user or the program made it. A user's click turns a box on from off or
// greyed, and off from on; the greyed state only comes from the program.
class ValueCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit ValueCheckBox(const QString &caption, QWidget *parent = nullptr);
    int Value() const;
    // Refuses (returns false, keeps the value) anything but 0, 1 or 2.
    bool setValue(int value);

signals:
    void Click();

protected:
    void nextCheckState() override;
};

// A push button that the window's key preview treats as its default button (Enter, unless
// another command button has the focus) or as its cancel button (Escape).
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString &caption, QWidget *parent = nullptr);
    bool Default = false;
    bool Cancel = false;
    void setFontBold(bool bold);
    bool FontBold() const { return font().bold(); }
};

// A periodic timer with an Enabled switch: disabling stops it; enabling a stopped timer starts
// its interval anew; setting the interval of a running timer restarts it.
class EventTimer : public QObject {
    Q_OBJECT
public:
    explicit EventTimer(int interval, QObject *parent = nullptr);
    bool Enabled() const { return timer_.isActive(); }
    void setEnabled(bool on);
    int Interval() const { return timer_.interval(); }
    void setInterval(int ms) { timer_.setInterval(ms); }
    // Delivers one tick now, as if the interval had run out (for driving the window step by step).
    void Fire() { emit Timer(); }

signals:
    void Timer();

private:
    QTimer timer_;
};

// An outline rectangle drawn on the window's background; the mouse passes through it.
class RectShape : public QWidget {
    Q_OBJECT
public:
    RectShape(const QColor &border, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QColor border_;
};

// A straight horizontal or vertical line between two points given in twips.
class LineShape : public QWidget {
    Q_OBJECT
public:
    LineShape(QWidget *parent, int x1, int y1, int x2, int y2, int width, QPalette::ColorRole role);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QPalette::ColorRole role_;
};

} // namespace zintrova

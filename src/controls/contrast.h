#pragma once
// Keeps texts readable whatever the colour scheme. Where one colour of a text and its background
// is fixed and the other comes from the system, the pair can be unreadable: the range label's
// highlighted-text colour on the button face, dark fixed text on a dark window, light system text
// on a fixed light background. The rules for choosing the other colour live here.

#include <QObject>
#include <QRgb>
#include <functional>
#include <initializer_list>
#include <optional>

class QWidget;

namespace zintrova {

// The brightness of a colour: the largest of its red, green and blue components.
int Brightness(QRgb c);

// The range label: black or white when the two colours differ in brightness by less than 63
// (black on a face brighter than 192, white otherwise); no change when they differ by 63 or more.
std::optional<QRgb> ContrastForeColor(QRgb buttonFace, QRgb highlightedText);

// How far apart two colours are for the eye: the ratio of their relative luminances (each plus
// 0.05), from 1 (the same) to 21 (black and white).
double ContrastRatio(QRgb a, QRgb b);

// The contrast a text needs against its background to be read.
inline constexpr double ReadableContrast = 4.5;

// The first candidate text colour that reads on the background; when none does, black or white,
// whichever contrasts more. A fixed colour given first is kept wherever it reads, so a light
// scheme shows it unchanged.
QRgb ReadableOn(QRgb background, std::initializer_list<QRgb> candidates);

// Chooses a window's fixed colours again after the colour scheme has changed. The scheme can
// arrive in steps, some time after the window was made: the application's palette changes, or a
// desktop's theme tool gives the window and then each control the new palette, one by one and in
// any order, replacing whatever colours the program had set on them. So every palette change of
// the watched widgets asks for one run of the action, after the pending events, when the last of
// them is done; the changes the action makes itself ask for nothing.
class SchemeWatch : public QObject {
public:
    SchemeWatch(std::initializer_list<QWidget *> watched, std::function<void()> action,
                QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> action_;
    bool due_ = false;
};

} // namespace zintrova

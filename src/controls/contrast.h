#pragma once
// Keeps texts readable whatever the colour scheme. Where one colour of a text and its background
// is fixed and the other comes from the system, the pair can be unreadable: the range label's
// highlighted-text colour on the button face, dark fixed text on a dark window, light system text
// on a fixed light background. The rules for choosing the other colour live here.

#include <QRgb>
#include <initializer_list>
#include <optional>

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

} // namespace zintrova

#pragma once
// Keeps the range label readable: its text colour is the system's highlighted-text colour,
// drawn straight on the button-face background, and the two can be too close in brightness.

#include <QRgb>
#include <optional>

namespace zintrova {

// The brightness of a colour: the largest of its red, green and blue components.
int Brightness(QRgb c);

// Black or white when the two colours differ in brightness by less than 63 (black on a face
// brighter than 192, white otherwise); no change when they differ by 63 or more.
std::optional<QRgb> ContrastForeColor(QRgb buttonFace, QRgb highlightedText);

} // namespace zintrova

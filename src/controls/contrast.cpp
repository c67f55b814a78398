#include "controls/contrast.h"

#include <algorithm>
#include <cstdlib>

namespace zintrova {

int Brightness(QRgb c)
{
    return std::max({qRed(c), qGreen(c), qBlue(c)});
}

std::optional<QRgb> ContrastForeColor(QRgb buttonFace, QRgb highlightedText)
{
    const int face = Brightness(buttonFace);
    if (std::abs(face - Brightness(highlightedText)) >= 63) return std::nullopt;
    return face > 192 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
}

} // namespace zintrova

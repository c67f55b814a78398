#pragma once
// Window geometry is kept in twips, as the layout tables give it: 15 twips are one logical pixel.

#include <QPoint>
#include <QRect>

namespace zintrova {

inline constexpr int TwipsPerPixel = 15;

// Twips to logical pixels, to the nearest pixel.
constexpr int Px(int twips)
{
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

// Logical pixels to twips.
constexpr int Twips(int pixels)
{
    return pixels * TwipsPerPixel;
}

inline QRect TwipsRect(int left, int top, int width, int height)
{
    return {Px(left), Px(top), Px(width), Px(height)};
}

inline QPoint TwipsPoint(int x, int y)
{
    return {Px(x), Px(y)};
}

} // namespace zintrova

#pragma once
// Where a window may stand: wholly within the part of a screen that windows may use. A position
// saved on a monitor since unplugged, or at another resolution or scale, would otherwise open the
// window out of the user's sight.

#include <QList>
#include <QPoint>
#include <QRect>

namespace zintrova {

// The top-left corner for a window whose outer frame would be `frame`, given the areas that
// windows may use on each screen, the primary screen's first. A frame wholly within one of the
// areas stays where it is. Otherwise it moves the least distance that puts it wholly within the
// area it overlaps most, or the primary screen's where it overlaps none; a frame wider or taller
// than that area goes to its left or top edge. Without areas the frame stays where it is.
QPoint PlaceOnScreens(const QRect &frame, const QList<QRect> &areas);

// The areas that windows may use on the screens the application has now, the primary's first.
QList<QRect> AvailableAreas();

} // namespace zintrova

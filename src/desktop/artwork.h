#pragma once
// The program's own pictures, compiled in from resources/ (see resources/make_artwork.py).

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace zintrova {

QIcon ProgramIcon();   // the main window's icon: a key, 32 x 32 and 16 x 16, 16 colours
QIcon AboutIcon();     // the About window's icon: a padlock, 32 x 32 and 16 x 16, 256 colours
QPixmap LogoPicture(); // the About window's logo, 152 x 34 (a GIF: needs Qt's gif plugin)
QCursor HandCursor();  // the pointing hand shown over the web link

// Where the hand's fingertip is, the point that clicks.
inline constexpr int HandHotSpotX = 12, HandHotSpotY = 4;

} // namespace zintrova

#pragma once
// The window's fonts are asked for by the names they were designed with. Where those families
// are missing, metric-compatible ones stand in so that every caption fits its fixed rectangle.

#include <QFont>
#include <QString>

namespace zintrova {

// Registers the stand-ins; call once after the application object exists.
void InstallFontSubstitutes();

QFont SansFont(double points, bool bold = false);  // "MS Sans Serif"
QFont FixedFont(double points, bool bold = false); // "Courier New"

} // namespace zintrova

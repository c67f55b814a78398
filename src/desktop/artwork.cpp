#include "desktop/artwork.h"

#include <QString>

namespace zintrova {

namespace {
QIcon TwoSizes(const char *stem)
{
    QIcon icon;
    for (int size : {16, 32})
        icon.addFile(QStringLiteral(":/zintrova/%1-%2.png").arg(QLatin1String(stem)).arg(size),
                     QSize(size, size));
    return icon;
}
} // namespace

QIcon ProgramIcon()
{
    return TwoSizes("zintrova");
}

QIcon AboutIcon()
{
    return TwoSizes("about");
}

QPixmap LogoPicture()
{
    return QPixmap(QStringLiteral(":/zintrova/logo.gif"), "GIF");
}

QCursor HandCursor()
{
    return QCursor(QPixmap(QStringLiteral(":/zintrova/hand-32.png")), HandHotSpotX, HandHotSpotY);
}

} // namespace zintrova

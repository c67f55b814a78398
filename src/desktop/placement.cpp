#include "desktop/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace zintrova {

namespace {

qint64 OverlapArea(const QRect &a, const QRect &b)
{
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

// The start of a span of `length` moved the least distance into [first, first + room).
int Into(int start, int length, int first, int room)
{
    if (length >= room) return first;
    return std::clamp(start, first, first + room - length);
}

} // namespace

QPoint PlaceOnScreens(const QRect &frame, const QList<QRect> &areas)
{
    if (areas.isEmpty()) return frame.topLeft();
    for (const QRect &area : areas)
        if (area.contains(frame)) return frame.topLeft();
    QRect target = areas.first();
    qint64 most = 0;
    for (const QRect &area : areas) {
        const qint64 overlap = OverlapArea(frame, area);
        if (overlap > most) {
            most = overlap;
            target = area;
        }
    }
    return {Into(frame.x(), frame.width(), target.x(), target.width()),
            Into(frame.y(), frame.height(), target.y(), target.height())};
}

QList<QRect> AvailableAreas()
{
    QList<QRect> areas;
    if (QScreen *primary = QGuiApplication::primaryScreen()) areas << primary->availableGeometry();
    for (QScreen *screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen()) areas << screen->availableGeometry();
    return areas;
}

} // namespace zintrova

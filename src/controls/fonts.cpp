#include "controls/fonts.h"

#include <QStringList>

namespace zintrova {

void InstallFontSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("Helvetica")});
    QFont::insertSubstitutions(
        QStringLiteral("Courier New"),
        {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"), QStringLiteral("Courier")});
}

namespace {
QFont Make(const QString &family, QFont::StyleHint hint, double points, bool bold)
{
    QFont f(family);
    f.setStyleHint(hint);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}
} // namespace

QFont SansFont(double points, bool bold)
{
    return Make(QStringLiteral("MS Sans Serif"), QFont::SansSerif, points, bold);
}

QFont FixedFont(double points, bool bold)
{
    return Make(QStringLiteral("Courier New"), QFont::TypeWriter, points, bold);
}

} // namespace zintrova

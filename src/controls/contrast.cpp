#include "controls/contrast.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

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

namespace {

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double Luminance(QRgb c)
{
    const auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}

} // namespace

double ContrastRatio(QRgb a, QRgb b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QRgb ReadableOn(QRgb background, std::initializer_list<QRgb> candidates)
{
    for (QRgb c : candidates)
        if (ContrastRatio(c, background) >= ReadableContrast) return c;
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

SchemeWatch::SchemeWatch(std::initializer_list<QWidget *> watched, std::function<void()> action,
                         QObject *parent)
    : QObject(parent), action_(std::move(action))
{
    for (QWidget *w : watched)
        w->installEventFilter(this);
}

bool SchemeWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::PaletteChange && !due_) {
        due_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                action_();
                due_ = false;
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zintrova

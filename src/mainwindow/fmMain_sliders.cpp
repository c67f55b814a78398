// The two length sliders: minimum (sldLen[0]) and maximum (sldLen[1]).

#include "mainwindow/fmMain.h"

namespace zintrova {

void fmMain::ShowLimits() {
    lbLimits->setCaption(QStringLiteral("%1 - %2").arg(sldLen[0]->value()).arg(sldLen[1]->value()));
}

void fmMain::sldLen_Change(std::int16_t Index) {
    QSlider *s = sldLen[Index];
    if (!s->isEnabled()) return; // being pushed along by the other slider
    if (sldLen[0]->value() < sldLen[1]->value()) PushState = 0;
    ShowLimits();
    if (s->value() != LastLen[Index]) GeneratePass();
    LastLen[Index] = static_cast<std::int16_t>(s->value());
}

} // namespace zintrova

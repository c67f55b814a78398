// The two length sliders: minimum (sldLen[0]) and maximum (sldLen[1]).
//
// The sliders are coupled by a soft stop. Moving one thumb into the other first stops it at
// equal values (PushState Stopped); once the mouse button or the key is released the stop
// turns into push mode (Pushing), and moving on in the same direction carries the other
// thumb along. As soon as the thumbs part again (min < max) or a slider gets the focus, the state
// goes back to Free and the next contact stops once more.

#include "mainwindow/fmMain.h"

#include "controls/keyboard.h"
#include "engine/number.h"

#include <algorithm>
#include <cmath>

namespace zintrova {

void fmMain::ShowLimits()
{
    lbLimits->setCaption(QStringLiteral("%1 - %2").arg(sldLen[0]->Value()).arg(sldLen[1]->Value()));
}

void fmMain::sldLen_Change(std::int16_t Index)
{
    TrackSlider *s = sldLen[Index];
    if (s->Muted()) return; // being pushed along by the other slider
    if (sldLen[0]->Value() < sldLen[1]->Value()) PushState = push::Free;
    ShowLimits();
    if (s->Value() != LastLen[Index]) GeneratePass();
    LastLen[Index] = static_cast<std::int16_t>(s->Value());
}

void fmMain::sldLen_Scroll(std::int16_t Index)
{
    if (sldLen[0]->Value() < sldLen[1]->Value() && PushState == push::Stopped)
        PushState = push::Free;
    if (sldLen[0]->Value() <= sldLen[1]->Value()) return; // equal values are a valid range

    // The moved thumb has crossed the other one.
    TrackSlider *moved = sldLen[Index];
    TrackSlider *other = sldLen[1 - Index];
    switch (PushState) {
    case push::Free: PushState = push::Stopped; [[fallthrough]];
    case push::Stopped: // hold: back onto the other thumb; its own change handling runs
        moved->setValue(other->Value());
        break;
    case push::Pushing: // push: the other thumb follows, with its change handling muted
        other->setMuted(true);
        other->setValue(moved->Value());
        other->setMuted(false);
        // The moved slider's own change composes for both values, so the pushed slider's value
        // counts as handled. Left at its older value, a later move of the pushed slider back to
        // that value would compose nothing and leave a password of the wrong length on show.
        LastLen[1 - Index] = static_cast<std::int16_t>(other->Value());
        // A key that moves nothing (Home with the thumb at its end already) still pushes, but no
        // change of the moved slider follows: the new range is shown and composed for here.
        if (moved->Value() == LastLen[Index]) {
            ShowLimits();
            GeneratePass();
        }
        break;
    default: break;
    }
}

void fmMain::sldLen_MouseDown(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X,
                              float Y)
{
    (void)Button;
    (void)Shift;
    (void)Y;
    // The value whose place on the scale is nearest the pointer. At the outermost edges of the
    // slider that is one step beyond its range; the slider takes its nearest end instead.
    TrackSlider *s = sldLen[Index];
    const double v = std::floor((double(X) + 465) / 195 + 0.5) + 3 * Index;
    s->setValue(ToInt16(std::clamp(v, double(s->Min()), double(s->Max()))));
}

void fmMain::sldLen_MouseUp(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X,
                            float Y)
{
    (void)Index;
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
    if (PushState == push::Stopped) PushState = push::Pushing;
}

void fmMain::sldLen_KeyDown(std::int16_t Index, int &KeyCode, int Shift)
{
    (void)Shift;
    // PageUp and PageDown step by 5 while they are down.
    if (KeyCode == vk::Prior || KeyCode == vk::Next) sldLen[Index]->setLargeChange(5);
    // Up and Down never change a value: they go from one slider to the other.
    if (KeyCode == vk::Up) {
        KeyCode = 0;
        if (Index == 1) sldLen[0]->setFocus(Qt::OtherFocusReason);
    }
    if (KeyCode == vk::Down) {
        KeyCode = 0;
        if (Index == 0) sldLen[1]->setFocus(Qt::OtherFocusReason);
    }
}

void fmMain::sldLen_KeyUp(std::int16_t Index, int &KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == vk::Prior || KeyCode == vk::Next) sldLen[Index]->setLargeChange(1);
    if (KeyCode != 0) {
        if (sldLen[0]->Value() < sldLen[1]->Value()) PushState = push::Free;
        if (PushState == push::Stopped) PushState = push::Pushing;
    }
}

void fmMain::sldLen_GotFocus(std::int16_t Index)
{
    (void)Index;
    PushState = push::Free;
}

} // namespace zintrova

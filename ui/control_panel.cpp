#include "ui/control_panel.h"

#include <algorithm>

#include "core/menus.h"
#include "synth/additive.h"
#include "ui/palette.h"

namespace {

// Strictly inside: a press on the edge itself hits nothing.
bool Inside(int x, int y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return left < x && x < right && top < y && y < bottom;
}

// The knob whose inside holds (x, y), or -1.
int KnobAt(int x, int y) {
    for (int k = 0; k < KnobCount; ++k) {
        const Knob& knob = Knobs[k];
        if (Inside(x, y, knob.left, knob.top, knob.right, knob.bottom)) return k;
    }
    return -1;
}

// The state each knob writes while it is dragged.
int32_t* const KnobTargets[KnobCount] = {&CurrentFrame, &OffsetFrame, &PadwaveValue};

// A held move sets every slider whose column holds x, within 20 pixels above or
// below its track, to the pointer's height.
void SetSliderAt(int x, int y) {
    for (int i = 0; i < HarmonicCount; ++i) {
        if (Inside(x, y, HarmonicSlider.left[i], HarmonicSlider.top[i] - 20,
                   HarmonicSlider.right[i], HarmonicSlider.bottom[i] + 20))
            Harmonics[i] = std::clamp(y - 200, 0, 100);
    }
}

} // namespace

void HitTestKnobs(int x, int y) {
    ActiveKnob = KnobAt(x, y);
    if (ActiveKnob >= 0) Knobs[ActiveKnob].ValueAtPress = Knobs[ActiveKnob].value;
}

void HitTestTabs(int x, int y) {
    for (int i = 0; i < ViewTabCount; ++i) {
        const ViewTab& tab = ViewTabs[i];
        if (Inside(x, y, tab.left, tab.top, tab.right, tab.bottom)) {
            ViewMode = ViewWaveform + i;
            break;
        }
    }
    if (ViewMode == ViewAdditive) SynthesizeAdditive();
}

// Every honoured press runs all steps wherever it lands; the press itself
// changes no knob value and no harmonic level.
void PanelPress(WindowHandle window, int x, int y) {
    if (PressGuard) return;
    ButtonHeld = 1;
    PressY = y;
    HitTestKnobs(x, y);
    PressGuard = true;
    HitTestTabs(x, y);
    RefreshWindow(window);
}

// The dragged knob follows the pointer's total offset from the press point
// (one pixel up raises the value by one), so after an overshoot past either end
// the value stays there until the pointer comes back.
void PanelMove(WindowHandle window, int x, int y) {
    if (ButtonHeld != 1) return;
    if (ActiveKnob >= 0) {
        Knob& knob = Knobs[ActiveKnob];
        knob.value = std::clamp(knob.ValueAtPress + (PressY - y), 0, 99);
        *KnobTargets[ActiveKnob] = knob.value;
    }
    if (ViewMode == ViewAdditive) SetSliderAt(x, y);
    InvalidateWindow(window);
}

void PanelRelease() {
    ButtonHeld = 0;
    PressGuard = false;
}

void PanelWheel(WindowHandle window, int x, int y, int notches) {
    if (ButtonHeld == 1 || KnobAt(x, y) < 0) return;
    PanelPress(window, x, y);
    PanelMove(window, x, y - notches);
    PanelRelease();
}

void PanelStepKnob(WindowHandle window, int k, int steps) {
    const Knob& knob = Knobs[k];
    PanelWheel(window, (knob.left + knob.right) / 2, (knob.top + knob.bottom) / 2, steps);
}

void DrawKnobLabel(Surface& surface, int k) {
    const Knob& knob = Knobs[k];
    DrawTextCentered(surface, knob.left + 25, knob.top + 50, knob.caption, Black,
                     FontFace::Terminal);
}

void DrawViewTabs(Surface& surface) {
    for (int i = 0; i < ViewTabCount; ++i) {
        const ViewTab& tab = ViewTabs[i];
        FillRect(surface, tab.left, tab.top, tab.right, tab.bottom,
                 ViewMode == ViewWaveform + i ? Grey : DarkGrey);
        DrawTextCentered(surface, tab.captionX, tab.captionY - 6, tab.caption, White,
                         FontFace::Terminal);
    }
}

#include "core/panel.h"

Knob Knobs[KnobCount];
ViewTab ViewTabs[ViewTabCount];
HarmonicSliderGeometry HarmonicSlider;

int32_t ButtonHeld;
bool PressGuard;
int32_t ActiveKnob;
int32_t PressY;

void InitKnobs() {
    const char* const captions[KnobCount] = {"Wave", "Offset", "Padwave"};
    for (int k = 0; k < KnobCount; ++k) {
        Knob& knob = Knobs[k];
        knob.left = 32;
        knob.top = 64 + 128 * k;
        knob.right = knob.left + 50;
        knob.bottom = knob.top + 50;
        knob.value = 0;
        knob.caption = captions[k];
    }
    ActiveKnob = -1;
}

void InitViewTabs() {
    const char* const captions[ViewTabCount] = {"WAVEFORM", "WAVETABLE", "ADDITIVE", "PADWAVE"};
    for (int i = 0; i < ViewTabCount; ++i) {
        ViewTab& tab = ViewTabs[i];
        tab.left = 194 + 90 * i;
        tab.top = 10;
        tab.right = tab.left + 88;
        tab.bottom = 34;
        tab.captionX = tab.left + 44;
        tab.captionY = 22;
        tab.caption = captions[i];
    }
}

void InitSliderGeometry() {
    for (int i = 0; i < HarmonicCount; ++i) {
        HarmonicSlider.left[i] = 186 + 16 * i;
        HarmonicSlider.right[i] = 200 + 16 * i;
        HarmonicSlider.top[i] = 200;
        HarmonicSlider.bottom[i] = 300;
    }
}

// The control panel's records: the three knobs with their displayed values, the
// four view tabs, the harmonic sliders' rectangles and the press state. They
// are editor state: NewDocument resets them before any window exists.
#pragma once

#include <cstdint>

#include "core/editor_state.h"

struct Knob {
    int32_t left, top, right, bottom; // the knob image stands at (left, top)
    int32_t value;                    // 0..99: knob image value, LED image value + 1
    int32_t ValueAtPress;             // value when the press that selected the knob began
    const char* caption;
};

struct ViewTab {
    int32_t left, top, right, bottom;
    int32_t captionX, captionY; // the tab's centre point
    const char* caption;
};

// The slider rectangles, one entry per harmonic (index 0 is harmonic 1).
struct HarmonicSliderGeometry {
    int32_t left[HarmonicCount];
    int32_t right[HarmonicCount];
    int32_t top[HarmonicCount];
    int32_t bottom[HarmonicCount];
};

constexpr int KnobCount = 3;
constexpr int ViewTabCount = 4;

extern Knob Knobs[KnobCount]; // "Wave", "Offset", "Padwave"
extern ViewTab ViewTabs[ViewTabCount];
extern HarmonicSliderGeometry HarmonicSlider;

extern int32_t ButtonHeld; // 1 from an honoured press to the release
extern bool PressGuard;    // a press while set is ignored
extern int32_t ActiveKnob; // knob of the last honoured press, -1 for none
extern int32_t PressY;     // pointer y of the last honoured press

// Knob positions and captions, all three values 0, no active knob.
void InitKnobs();
void InitViewTabs();
void InitSliderGeometry();

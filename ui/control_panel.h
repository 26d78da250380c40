// The control panel's input and drawing: the left-button handling that
// operates the knobs, view tabs and harmonic sliders, and their captions.
#pragma once

#include <cstdint>

#include "core/panel.h"
#include "platform/platform.h"

struct Surface;

// Sets ActiveKnob to the knob whose inside holds (x, y), or -1.
void HitTestKnobs(int x, int y);
// Switches ViewMode to the tab whose inside holds (x, y); in the Additive view
// recomputes AdditiveFrame either way.
void HitTestTabs(int x, int y);

void PanelPress(WindowHandle window, int x, int y);
void PanelMove(WindowHandle window, int x, int y);
void PanelRelease();
// The wheel over a knob, one step per notch, up raising the value: a press on
// the knob, a drag by that many pixels and a release, so it writes exactly what
// such a drag writes. Ignored while the button is held or off the knobs.
void PanelWheel(WindowHandle window, int x, int y, int notches);
// Knob `knob` stepped by `steps`, as that many wheel notches over its middle.
void PanelStepKnob(WindowHandle window, int knob, int steps);

void DrawKnobLabel(Surface& surface, int knob);
void DrawViewTabs(Surface& surface);

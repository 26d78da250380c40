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

void DrawKnobLabel(Surface& surface, int knob);
void DrawViewTabs(Surface& surface);

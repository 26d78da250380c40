// The displays of the four views, drawn onto the black area right of the panel.
#pragma once

struct Surface;

// The panel strip in the panel colour, then the display area in black.
void FillBackgrounds(Surface& surface);
// The wave box with the first frame of the edit range, y limited to the box.
void DrawFrameBox(Surface& surface);
// The wave box with the AdditiveFrame, nothing limited.
void DrawAdditiveBox(Surface& surface);
// All 100 frames of the table, receding, the chosen ones in red.
void DrawFrameStack(Surface& surface);
// Every 256th padwave sample as a bar mirrored about y = 300, axis and ticks.
void DrawPadwave(Surface& surface);
// Recomputes the AdditiveFrame, then draws the 32 sliders and their labels.
void DrawHarmonicSliders(Surface& surface);

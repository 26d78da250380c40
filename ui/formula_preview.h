// The formula dialog's preview: a frame's wave above its harmonics, drawn into
// the dialog's raster (FormulaPreviewWidth x FormulaPreviewHeight).
#pragma once

#include <cstdint>

struct Surface;

// The wave box: frame `wave` of the table (100 frames) in red, every other
// sample of the 1024 one pixel apart, drawn as the main window's wave box draws
// a frame (a positive sample below the centre line), held to the box; behind
// it in grey the frames at the ends and quarters of the range first .. last.
// Below it the Wave frame's harmonics 1 .. 128 as bars, a pixel per dB from
// 0 dB (the strongest of harmonics 1 .. 511) down to -96 dB; a silent frame
// has none.
void DrawFormulaPreview(Surface& raster, const float* table, int32_t first, int32_t last,
                        int32_t wave);

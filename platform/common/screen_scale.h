// The whole-number screen scale of the real window: every raster pixel is shown
// as a scale x scale block, so pictures stay pixel-exact on dense screens.
#pragma once

#include <cstdint>
#include <vector>

struct Surface;

constexpr int MinScreenScale = 1;
constexpr int MaxScreenScale = 4;

// The scale for a screen of `dpi` dots per inch, 96 being scale 1: below 1.5
// times 96 gives 1, up to 2.5 times gives 2, up to 3.5 times 3, above that 4.
int ScaleForDpi(double dpi);

// Writes the raster into `out` (resized as needed, so one buffer serves every
// paint) with every pixel repeated as a scale x scale block: RGB rows of
// surface.width * scale pixels, surface.height * scale of them.
void EnlargeRaster(const Surface& surface, int scale, std::vector<uint8_t>& out);

// The retained RGB raster of the client area. Paints draw into it with the
// routines below; the window only shows it, so what a test reads here is what
// the user sees, pixel for pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

struct Surface {
    int width = ClientWidth;
    int height = ClientHeight;
    std::vector<uint8_t> pixels = std::vector<uint8_t>(size_t(ClientWidth) * ClientHeight * 3);

    Rgb At(int x, int y) const {
        const uint8_t* p = &pixels[(size_t(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

// A black raster of its own size, such as a dialog's.
Surface BlankSurface(int width, int height);

// Fills x = left .. right - 1, y = top .. bottom - 1; nothing when right <= left
// or bottom <= top. Everything is clipped to the raster.
void FillRect(Surface& surface, int left, int top, int right, int bottom, Rgb colour);

// A 1-pixel line that covers its start point and stops one pixel short of its
// end point, as the window system's pen lines do.
void DrawLine(Surface& surface, int x0, int y0, int x1, int y1, Rgb colour);

// Copies a w x h block of the bitmap from (sx, sy) to (dx, dy); no transparency.
void CopyBitmap(Surface& surface, int dx, int dy, const Bitmap& bitmap, int sx, int sy, int w,
                int h);

enum class FontFace {
    Terminal, // the 8 x 12 caption font of knobs and tabs
    Small,    // the surface's default font, used for the slider labels
};

// Text on a transparent background, centred horizontally on x, its top at y.
void DrawTextCentered(Surface& surface, int x, int y, const std::string& text, Rgb colour,
                      FontFace face);

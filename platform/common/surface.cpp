#include "platform/common/surface.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/common/font.h"

namespace {

void Plot(Surface& surface, int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height) return;
    uint8_t* p = &surface.pixels[(size_t(y) * surface.width + x) * 3];
    p[0] = colour.r;
    p[1] = colour.g;
    p[2] = colour.b;
}

// Division rounding toward minus infinity (the divisor is positive).
int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

} // namespace

Surface BlankSurface(int width, int height) {
    Surface surface;
    surface.width = width;
    surface.height = height;
    surface.pixels.assign(size_t(width) * height * 3, 0);
    return surface;
}

void FillRect(Surface& surface, int left, int top, int right, int bottom, Rgb colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, surface.width);
    bottom = std::min(bottom, surface.height);
    for (int y = top; y < bottom; ++y) {
        uint8_t* p = &surface.pixels[(size_t(y) * surface.width + left) * 3];
        for (int x = left; x < right; ++x, p += 3) {
            p[0] = colour.r;
            p[1] = colour.g;
            p[2] = colour.b;
        }
    }
}

// The pixels of a Bresenham walk between the two points, computed directly per
// step of the major axis so that only the steps inside the raster are visited:
// sample values can put an end point millions of pixels away. The walk always
// runs from the same one of the two points (the one with the smaller major
// coordinate), so a line and its reverse cover the same pixels; half-way cases
// round toward the larger minor coordinate. The end point itself is left out.
void DrawLine(Surface& surface, int x0, int y0, int x1, int y1, Rgb colour) {
    const int64_t dx = int64_t(x1) - x0;
    const int64_t dy = int64_t(y1) - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    int64_t ma = xMajor ? x0 : y0, mi = xMajor ? y0 : x0;       // walk start
    int64_t maEnd = xMajor ? x1 : y1, miEnd = xMajor ? y1 : x1; // walk end
    const bool reversed = maEnd < ma;
    if (reversed) {
        std::swap(ma, maEnd);
        std::swap(mi, miEnd);
    }
    const int64_t steps = maEnd - ma;
    if (steps == 0) return;
    const int64_t rise = miEnd - mi;
    const int64_t majorLimit = xMajor ? surface.width : surface.height;
    // Steps 0 .. steps - 1 when walking forward; 1 .. steps when reversed, which
    // still leaves out the caller's end point.
    int64_t first = reversed ? 1 : 0;
    int64_t last = reversed ? steps : steps - 1;
    first = std::max(first, -ma);
    last = std::min(last, majorLimit - 1 - ma);
    for (int64_t i = first; i <= last; ++i) {
        const int64_t minor = mi + FloorDiv(2 * i * rise + steps, 2 * steps);
        const int64_t major = ma + i;
        if (minor < 0 || minor >= (xMajor ? surface.height : surface.width)) continue;
        if (xMajor)
            Plot(surface, int(major), int(minor), colour);
        else
            Plot(surface, int(minor), int(major), colour);
    }
}

void CopyBitmap(Surface& surface, int dx, int dy, const Bitmap& bitmap, int sx, int sy, int w,
                int h) {
    for (int row = 0; row < h; ++row) {
        const int srcY = sy + row;
        if (srcY < 0 || srcY >= bitmap.height) continue;
        for (int col = 0; col < w; ++col) {
            const int srcX = sx + col;
            if (srcX < 0 || srcX >= bitmap.width) continue;
            const uint8_t* p = &bitmap.rgb[(size_t(srcY) * bitmap.width + srcX) * 3];
            Plot(surface, dx + col, dy + row, {p[0], p[1], p[2]});
        }
    }
}

void DrawTextCentered(Surface& surface, int x, int y, const std::string& text, Rgb colour,
                      FontFace face) {
    const Font& font = face == FontFace::Terminal ? TerminalFont : SmallFont;
    int left = x - int(text.size()) * font.width / 2;
    for (char c : text) {
        const uint8_t* rows = font.glyph(c);
        for (int row = 0; row < font.height; ++row)
            for (int col = 0; col < font.width; ++col)
                if (rows[row] & (0x80 >> col)) Plot(surface, left + col, y + row, colour);
        left += font.width;
    }
}

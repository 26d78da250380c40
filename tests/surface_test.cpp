#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <utility>

#include "platform/common/font.h"
#include "platform/common/screen_scale.h"
#include "platform/common/surface.h"

using PixelSet = std::set<std::pair<int, int>>;
constexpr Rgb Ink{10, 20, 30};

static PixelSet PixelsOf(const Surface& surface, Rgb colour = Ink) {
    PixelSet pixels;
    for (int y = 0; y < surface.height; ++y)
        for (int x = 0; x < surface.width; ++x)
            if (surface.At(x, y) == colour) pixels.insert({x, y});
    return pixels;
}

// The textbook Bresenham walk from the smaller major coordinate, both ends, clipped.
static PixelSet ReferenceLine(int x0, int y0, int x1, int y1) {
    const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    if (steep) std::swap(x0, y0), std::swap(x1, y1);  // walk along x, the major axis
    if (x1 < x0) std::swap(x0, x1), std::swap(y0, y1);
    const long long dx = x1 - x0, dy = y1 - y0;
    PixelSet pixels;
    for (long long x = x0, y = y0, error = dx; x <= x1; ++x) {  // error = 2 dx (exact y - y) + dx
        const int px = int(steep ? y : x), py = int(steep ? x : y);
        if (px >= 0 && py >= 0 && px < ClientWidth && py < ClientHeight) pixels.insert({px, py});
        for (error += 2 * dy; error >= 2 * dx && dx > 0; error -= 2 * dx) ++y;
        for (; error < 0; error += 2 * dx) --y;
    }
    return pixels;
}

TEST(Surface, FillsCoverLeftTopButNotRightBottomAndClip) {
    Surface surface;
    FillRect(surface, 10, 20, 13, 22, Ink);
    FillRect(surface, 10, 30, 30, 30, Ink);  // no height: nothing
    FillRect(surface, 40, 30, 30, 40, Ink);  // right of left: nothing
    FillRect(surface, -5, 573, 2, 700, Ink);
    EXPECT_EQ(PixelsOf(surface), (PixelSet{{10, 20}, {11, 20}, {12, 20}, {10, 21}, {11, 21},
                                           {12, 21}, {0, 573}, {1, 573}, {0, 574}, {1, 574}}));
}

// A line covers its start but not its end, and otherwise the pixels of the
// incremental walk: short and empty lines, and end points far outside the raster.
TEST(Surface, LinesMatchTheIncrementalWalkInBothDirections) {
    std::mt19937 random(7);
    for (int n = 0; n < 140; ++n) {
        const int spread = n < 50 ? 5 : n < 120 ? 900 : 20000;
        auto coordinate = [&] { return int(random() % spread) - spread / 4; };
        int x0 = coordinate(), y0 = coordinate(), x1 = coordinate(), y1 = coordinate();
        for (int pass = 0; pass < 2; ++pass, std::swap(x0, x1), std::swap(y0, y1)) {
            Surface surface;
            DrawLine(surface, x0, y0, x1, y1, Ink);
            PixelSet expected = ReferenceLine(x0, y0, x1, y1);
            expected.erase({x1, y1});
            ASSERT_EQ(PixelsOf(surface), expected) << x0 << "," << y0 << " " << x1 << "," << y1;
        }
    }
}

TEST(Surface, TextIsCentredWithItsTopAtYOnATransparentBackground) {
    Surface surface;
    FillRect(surface, 0, 0, ClientWidth, ClientHeight, Rgb{1, 2, 3});
    DrawTextCentered(surface, 300, 40, "Wa7", Ink, FontFace::Terminal);
    PixelSet lit;
    const int w = TerminalFont.width;
    for (int row = 0; row < TerminalFont.height; ++row)
        for (int col = 0; col < 3 * w; ++col)
            if (TerminalFont.glyph("Wa7"[col / w])[row] & (0x80 >> (col % w)))
                lit.insert({300 - 3 * w / 2 + col, 40 + row});
    EXPECT_EQ(PixelsOf(surface), lit);
    EXPECT_EQ(PixelsOf(surface, Rgb{1, 2, 3}).size(), ClientWidth * ClientHeight - lit.size());
}

// Xft.dpi over 96, snapped: below 1.5 is 1, up to 2.5 is 2, up to 3.5 is 3, above that 4;
// a value that reads as no number (0) is 1.
TEST(ScreenScale, SnapsXftDpiToWholeScalesAtTheHalves) {
    const std::pair<double, int> cases[] = {
        {0, 1},   {96, 1},    {143.9, 1}, {144, 2},   {192, 2},
        {240, 2}, {240.1, 3}, {336, 3},   {336.1, 4}, {960, 4}};
    for (const auto& [dpi, scale] : cases) EXPECT_EQ(ScaleForDpi(dpi), scale) << "dpi " << dpi;
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <utility>

#include "platform/common/font.h"
#include "platform/common/surface.h"

namespace {

constexpr Rgb Ink{10, 20, 30};

using PixelSet = std::set<std::pair<int, int>>;

PixelSet InkedPixels(const Surface& surface) {
    PixelSet inked;
    for (int y = 0; y < surface.height; ++y)
        for (int x = 0; x < surface.width; ++x)
            if (surface.At(x, y) == Ink) inked.insert({x, y});
    return inked;
}

// The textbook incremental Bresenham walk with an error term, from the point
// with the smaller major coordinate, both ends included, clipped to the raster.
PixelSet ReferenceLine(int x0, int y0, int x1, int y1) {
    const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
    int ma = xMajor ? x0 : y0, mi = xMajor ? y0 : x0;
    int maEnd = xMajor ? x1 : y1, miEnd = xMajor ? y1 : x1;
    if (maEnd < ma) std::swap(ma, maEnd), std::swap(mi, miEnd);
    const long long twice = 2LL * (maEnd - ma), rise = 2LL * (miEnd - mi);
    long long error = maEnd - ma;  // the half-way offset of rounding
    PixelSet pixels;
    for (int major = ma, minor = mi; major <= maEnd; ++major) {
        const int x = xMajor ? major : minor, y = xMajor ? minor : major;
        if (x >= 0 && y >= 0 && x < ClientWidth && y < ClientHeight) pixels.insert({x, y});
        for (error += rise; error >= twice && twice > 0; error -= twice) ++minor;
        for (; error < 0; error += twice) --minor;
    }
    return pixels;
}

}  // namespace

TEST(Surface, FillsAndCopiesCoverLeftTopButNotRightBottomAndClip) {
    Surface surface;
    FillRect(surface, 10, 20, 13, 22, Ink);
    FillRect(surface, 10, 30, 30, 30, Ink);  // no height: nothing
    FillRect(surface, 40, 30, 30, 40, Ink);  // right of left: nothing
    FillRect(surface, -5, 573, 2, 700, Ink);
    EXPECT_EQ(InkedPixels(surface), (PixelSet{{10, 20}, {11, 20}, {12, 20}, {10, 21}, {11, 21},
                                              {12, 21}, {0, 573}, {1, 573}, {0, 574}, {1, 574}}));

    Bitmap bitmap{4, 6, {}};
    for (int i = 0; i < 4 * 6; ++i) bitmap.rgb.insert(bitmap.rgb.end(), {10, 20, uint8_t(i)});
    Surface copy;
    CopyBitmap(copy, 50, 60, bitmap, 1, 2, 2, 3);
    CopyBitmap(copy, 766, 573, bitmap, 0, 4, 4, 4);  // past the raster and the bitmap
    EXPECT_EQ(copy.At(50, 60).b, 9);
    EXPECT_EQ(copy.At(51, 62).b, 18);
    EXPECT_EQ(copy.At(767, 574).b, 21);
    int copied = 0;
    for (int y = 0; y < ClientHeight; ++y)
        for (int x = 0; x < ClientWidth; ++x) copied += copy.At(x, y).g == 20;
    EXPECT_EQ(copied, 6 + 4);
}

// A line covers its start but not its end; a line and its reverse cover the
// same pixels otherwise, and the directly computed, clipped walk gives exactly
// the incremental walk's pixels, also for end points far outside the raster.
TEST(Surface, LinesMatchTheIncrementalWalkInBothDirections) {
    Surface surface;
    DrawLine(surface, 5, 7, 8, 7, Ink);
    DrawLine(surface, 20, 9, 20, 7, Ink);
    DrawLine(surface, 40, 40, 40, 40, Ink);
    EXPECT_EQ(InkedPixels(surface), (PixelSet{{5, 7}, {6, 7}, {7, 7}, {20, 9}, {20, 8}}));

    std::mt19937 random(7);
    for (int n = 0; n < 120; ++n) {
        const int spread = n < 90 ? 900 : 20000;
        auto coordinate = [&] { return int(random() % spread) - spread / 4; };
        const int x0 = coordinate(), y0 = coordinate(), x1 = coordinate(), y1 = coordinate();
        Surface forward, backward;
        DrawLine(forward, x0, y0, x1, y1, Ink);
        DrawLine(backward, x1, y1, x0, y0, Ink);
        PixelSet withoutEnd = ReferenceLine(x0, y0, x1, y1);
        PixelSet withoutStart = withoutEnd;
        withoutEnd.erase({x1, y1});
        withoutStart.erase({x0, y0});
        ASSERT_EQ(InkedPixels(forward), withoutEnd) << x0 << "," << y0 << " " << x1 << "," << y1;
        ASSERT_EQ(InkedPixels(backward), withoutStart) << x0 << "," << y0 << " " << x1 << "," << y1;
    }
}

TEST(Surface, TextIsCentredWithItsTopAtYOnATransparentBackground) {
    for (FontFace face : {FontFace::Terminal, FontFace::Small}) {
        const Font& font = face == FontFace::Terminal ? TerminalFont : SmallFont;
        Surface surface;
        FillRect(surface, 0, 0, ClientWidth, ClientHeight, Rgb{1, 2, 3});
        DrawTextCentered(surface, 300, 40, "Wa7", Ink, face);
        const int left = 300 - 3 * font.width / 2;
        for (int y = 30; y < 70; ++y)
            for (int x = 250; x < 350; ++x) {
                const int cell = x - left, row = y - 40;
                bool lit = false;
                if (cell >= 0 && cell < 3 * font.width && row >= 0 && row < font.height)
                    lit = font.glyph("Wa7"[cell / font.width])[row] & (0x80 >> (cell % font.width));
                ASSERT_EQ(surface.At(x, y), lit ? Ink : (Rgb{1, 2, 3})) << x << "," << y;
            }
    }
}

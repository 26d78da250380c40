#include <set>

#include "platform/common/screen_scale.h"
#include "platform/common/surface.h"
#include "tests/test_support.h"

// A line walks its major axis from the smaller coordinate, rounding half-way steps to the larger
// minor coordinate, and leaves out the caller's end point.
TEST(Surface, LinesWalkTheMajorAxisAndLeaveOutTheirEnd) {
    using PixelSet = std::set<std::pair<int, int>>;
    PixelSet farLine;  // ends 100000 pixels off either side: half way is at x = 0
    for (int x = 0; x < ClientWidth; ++x) farLine.insert({x, 101});
    const std::pair<std::array<int, 4>, PixelSet> cases[] = {
        {{10, 10, 14, 12}, {{10, 10}, {11, 11}, {12, 11}, {13, 12}}},
        {{14, 12, 10, 10}, {{11, 11}, {12, 11}, {13, 12}, {14, 12}}},
        {{20, 5, 18, 9}, {{20, 5}, {20, 6}, {19, 7}, {19, 8}}},
        {{-100000, 100, 100000, 101}, farLine}};
    for (const auto& [ends, expected] : cases) {
        Surface surface;
        DrawLine(surface, ends[0], ends[1], ends[2], ends[3], Rgb{255, 0, 0});
        PixelSet drawn;
        for (int i = 0; i < ClientWidth * ClientHeight; ++i)
            if (surface.pixels[size_t(i) * 3]) drawn.insert({i % ClientWidth, i / ClientWidth});
        EXPECT_EQ(drawn, expected) << ends[0] << "," << ends[1] << " to " << ends[2] << ","
                                   << ends[3];
    }
}

// Xft.dpi over 96, snapped: below 1.5 is 1, up to 2.5 is 2, up to 3.5 is 3, above that 4;
// a value that reads as no number (0) is 1.
TEST(ScreenScale, SnapsXftDpiToWholeScalesAtTheHalves) {
    const std::pair<double, int> cases[] = {
        {0, 1},   {96, 1},    {143.9, 1}, {144, 2},   {192, 2},
        {240, 2}, {240.1, 3}, {336, 3},   {336.1, 4}, {960, 4}};
    for (const auto& [dpi, scale] : cases) EXPECT_EQ(ScaleForDpi(dpi), scale) << "dpi " << dpi;
}

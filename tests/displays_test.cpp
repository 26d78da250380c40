#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "tests/window_driver.h"
#include "ui/palette.h"

TEST(Displays, ZeroStateShowsTheAxesOverTheTracesAndAFlatStack) {
    FreshEditor();
    PaintView(ViewPadwave);  // the axis and 32 ticks of 16 pixels, nothing else
    EXPECT_EQ(CountColour(150, 160, 768, ClientHeight, Grey), 512 + 32 * 15);
    EXPECT_EQ(CountColour(186, 300, 698, 301, Grey) + CountColour(682, 292, 683, 308, Grey), 528);
    PaintView(ViewWaveform);
    EXPECT_EQ(CountColour(194, 50, 706, 150, Red), 0);
    EXPECT_EQ(CountColour(190, 100, 710, 101, Grey) + CountColour(450, 40, 451, 160, Grey), 612);
    for (int k = 0; k < FrameCount; ++k) {  // y = 501 - 3k, x = 144 + k .. 651 + k; frame 0 red
        const int y = 501 - 3 * k;
        ASSERT_EQ(CountColour(144 + k, y, 652 + k, y + 1, k == 0 ? Red : Grey), 508) << k;
        ASSERT_EQ(CountColour(140 + k, y - 1, 656 + k, y + 2, Black), 3 * 516 - 508) << k;
    }
}

// A point per fourth sample; all but the start held to -0.5 .. 0.5, except in the Additive view.
TEST(Displays, WaveBoxMapsSamplesAndLimitsAllButTheStart) {
    FreshEditor();
    float* frame = FrameAt(CurrentFrame = 3);
    frame[40] = 0.25f, frame[80] = -0.25f, frame[0] = 0.7f, frame[400] = 0.7f, frame[800] = -0.9f;
    PaintView(ViewWaveform);
    for (auto [x, y] : {std::pair{216, 125}, {236, 75}, {194, 170}, {196, 150}, {396, 150}, {596, 50}})
        EXPECT_EQ(PixelAt(x, y), Red) << x << "," << y;
    EXPECT_EQ(CountColour(197, 151, 706, 200, Red) + CountColour(194, 0, 706, 50, Red), 0);
    std::copy(frame, frame + SamplesPerFrame, AdditiveFrame);
    PaintView(ViewAdditive);
    EXPECT_EQ(std::tuple(PixelAt(396, 170), PixelAt(596, 10)), std::tuple(Red, Red));

    // Huge, infinite and NaN samples: the paint still finishes and keeps to the raster.
    const float extremes[] = {1e30f, -1e30f, INFINITY, NAN, 3e6f};
    for (int i = 0; i < PadwaveSamples; ++i)
        PadwaveBuffer[i] = Wavetable[i % TableSamples] = AdditiveFrame[i % SamplesPerFrame] =
            extremes[(i + i / 256) % 5];
    PaintView(ViewWavetable);
    PaintView(ViewPadwave);
    EXPECT_EQ(PixelAt(186, 0), Grey);  // column 0 reaches past the raster's top
}

TEST(Displays, FrameStackHighlightsTheFramesBetweenTheKnobs) {
    FreshEditor();
    Wavetable[15 * 1024 + 16] = -0.1f;  // frame 15's point j = 2 (x = 167): 10 pixels up
    for (auto [current, offset, lo, hi] : {std::tuple{20, 10, 10, 20}, {10, 20, 10, 20}, {7, 7, 7, 7}}) {
        CurrentFrame = current, OffsetFrame = offset;
        PaintView(ViewWavetable);
        for (int k = 0; k < FrameCount; ++k)
            ASSERT_EQ(PixelAt(146 + k, 501 - 3 * k), lo <= k && k <= hi ? Red : Grey) << k;
    }
    EXPECT_EQ(std::tuple(PixelAt(167, 446), PixelAt(167, 456)), std::tuple(Grey, Black));
}

// Slider 1 at 100 (dark grey), slider 4 at 30 (30 rows grey), the others at 0; black between.
TEST(Displays, SlidersShowTheirLevels) {
    FreshEditor();
    Harmonics[3] = 30;
    Click(420, 22);  // the ADDITIVE tab also computes the frame from the levels
    Paint();
    for (int i = 0; i < HarmonicCount; ++i) {
        const int left = 186 + 16 * i, right = left + 14, grey = i == 0 ? 0 : i == 3 ? 30 : 100;
        ASSERT_EQ(CountColour(left, 200, right, 200 + grey, Grey) +
                      CountColour(left, 200 + grey, right, 300, DarkGrey) +
                      CountColour(left - 2, 180, left, 300, Black), 1400 + 240) << i;
    }
}

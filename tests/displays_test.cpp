#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/editor_state.h"
#include "tests/test_support.h"
#include "tests/window_driver.h"
#include "ui/palette.h"

namespace {

// Paints the given view with its backgrounds.
void PaintView(int32_t view) {
    ViewMode = view;
    FullRepaint = true;
    Paint();
}

// Column x holds grey exactly from top to bottom, both included.
void ExpectBar(int x, int top, int bottom) {
    EXPECT_EQ(CountColour(x, 0, x + 1, ClientHeight, Grey), bottom - top + 1) << "column " << x;
    EXPECT_EQ(CountColour(x, top, x + 1, bottom + 1, Grey), bottom - top + 1) << "column " << x;
}

}  // namespace

TEST(Displays, ZeroFrameShowsTheAxesOverTheTraceAndFlatStack) {
    FreshEditor();
    PaintView(ViewWaveform);
    EXPECT_EQ(CountColour(194, 50, 706, 150, Red), 0);
    EXPECT_EQ(CountColour(194, 100, 706, 101, Grey), 512);
    EXPECT_EQ(CountColour(450, 50, 451, 150, Grey), 100);
    EXPECT_EQ(PixelAt(706, 100), Black);
    EXPECT_EQ(PixelAt(193, 100), Black);
    EXPECT_EQ(PixelAt(195, 99), DarkGrey);
    EXPECT_EQ(PixelAt(450, 150), Black);

    // Frame k is a flat line at y = 501 - 3k from x = 144 + k to 651 + k; the
    // current frame is red.
    for (int k = 0; k < FrameCount; ++k) {
        const int y = 501 - 3 * k;
        const Rgb pen = k == 0 ? Red : Grey;
        ASSERT_EQ(CountColour(144 + k, y, 652 + k, y + 1, pen), 508) << "frame " << k;
        ASSERT_EQ(PixelAt(143 + k, y), Black);
        ASSERT_EQ(PixelAt(652 + k, y), Black);
        ASSERT_EQ(PixelAt(300, y + 1), Black);
    }
}

TEST(Displays, WaveBoxMapsSamplesAndLimitsAllButTheStart) {
    FreshEditor();
    float* frame = FrameAt(3);
    frame[40] = 0.25f;   // j = 10: x = 216
    frame[80] = -0.25f;  // j = 20: x = 236
    frame[0] = 0.7f;     // the start point and j = 0
    frame[400] = 0.7f;   // j = 100: x = 396
    frame[800] = -0.9f;  // j = 200: x = 596
    frame[41] = 0.5f;    // not every 4th sample: never shown
    CurrentFrame = 3;
    PaintView(ViewWaveform);
    EXPECT_EQ(PixelAt(216, 125), Red);
    EXPECT_EQ(PixelAt(236, 75), Red);
    EXPECT_EQ(PixelAt(194, 170), Red);
    EXPECT_EQ(PixelAt(196, 150), Red);
    EXPECT_EQ(PixelAt(396, 150), Red);
    EXPECT_EQ(PixelAt(596, 50), Red);
    EXPECT_EQ(PixelAt(596, 49), Black);
    EXPECT_EQ(CountColour(197, 151, 706, 200, Red), 0);
    EXPECT_EQ(CountColour(194, 0, 706, 50, Red), 0);

    // The Additive and Padwave views draw the AdditiveFrame whole, unlimited.
    std::copy(frame, frame + SamplesPerFrame, AdditiveFrame);
    PaintView(ViewPadwave);
    EXPECT_EQ(PixelAt(194, 170), Red);
    EXPECT_EQ(PixelAt(396, 170), Red);
    EXPECT_EQ(PixelAt(596, 10), Red);
    EXPECT_EQ(PixelAt(216, 125), Red);
}

TEST(Displays, FrameStackHighlightsTheChosenFrames) {
    FreshEditor();
    Wavetable[10 * 1024 + 20] = 0.25f;  // frame 10, j = 5 of the wave box only
    Wavetable[15 * 1024 + 16] = -0.1f;  // frame 15, point j = 2 of the stack
    const struct {
        int current, offset, lo, hi;
    } cases[] = {{20, 10, 10, 20}, {10, 20, 10, 20}, {7, 7, 7, 7}};
    for (const auto& c : cases) {
        CurrentFrame = c.current;
        OffsetFrame = c.offset;
        PaintView(ViewWavetable);
        for (int k = 0; k < FrameCount; ++k) {
            const Rgb expected = c.lo <= k && k <= c.hi ? Red : Grey;
            ASSERT_EQ(PixelAt(144 + k + 2, 501 - 3 * k), expected) << "frame " << k;
        }
        EXPECT_EQ(PixelAt(206, 125), c.lo == 10 ? Red : DarkGrey);
    }
    // Frame 15's point j = 2 at x = 144 + 15 + 8 lies 10 pixels above its baseline.
    EXPECT_EQ(PixelAt(167, 456 - 10), Grey);
    EXPECT_EQ(PixelAt(167, 456), Black);
}

TEST(Displays, PadwaveColumnsTruncateInSinglePrecision) {
    FreshEditor();
    PaintView(ViewPadwave);
    // Zero padwave: the axis and 32 ticks of 16 pixels, nothing else.
    EXPECT_EQ(CountColour(150, 160, 768, ClientHeight, Grey), 512 + 32 * 15);
    EXPECT_EQ(CountColour(186, 300, 698, 301, Grey), 512);
    EXPECT_EQ(CountColour(186 + 16 * 31, 292, 187 + 16 * 31, 308, Grey), 16);

    PadwaveBuffer[256 * 3] = 0.1f;    // 300 -/+ 25.6: bar from 275 to 324
    PadwaveBuffer[256 * 100] = -1.0f;  // mirrored: 44 .. 555
    PaintView(ViewPadwave);
    ExpectBar(189, 275, 324);
    ExpectBar(286, 45, 555);
}

TEST(Displays, SlidersShowTheirLevelsAndLabels) {
    FreshEditor();
    Click(420, 22);  // the ADDITIVE tab computes the default frame
    Paint();
    // Default levels: slider 0 dark grey, the others grey; a sine in the box.
    EXPECT_EQ(CountColour(186, 200, 200, 300, DarkGrey), 14 * 100);
    for (int i = 1; i < HarmonicCount; ++i)
        ASSERT_EQ(CountColour(186 + 16 * i, 200, 200 + 16 * i, 300, Grey), 14 * 100) << i;
    EXPECT_GT(CountColour(194, 65, 706, 66, Red), 0);
    EXPECT_GT(CountColour(194, 135, 706, 136, Red), 0);
    EXPECT_EQ(CountColour(194, 36, 706, 65, Red) + CountColour(194, 136, 706, 200, Red), 0);

    Harmonics[3] = 30;
    Harmonics[4] = 250;
    Harmonics[5] = -20;
    Paint();
    EXPECT_EQ(CountColour(234, 200, 248, 230, Grey), 14 * 30);
    EXPECT_EQ(CountColour(234, 230, 248, 300, DarkGrey), 14 * 70);
    EXPECT_EQ(PixelAt(248, 250), Black);
    EXPECT_EQ(PixelAt(233, 250), Black);
    EXPECT_EQ(CountColour(250, 200, 264, 300, Grey), 14 * 100);
    EXPECT_EQ(CountColour(266, 180, 280, 300, DarkGrey), 14 * 120);  // starts above the track
    EXPECT_EQ(PixelAt(270, 179), Black);

    // White labels under harmonics 1, 4, 8, ..., 32, and nowhere else.
    const int labelX[] = {194, 242, 306, 370, 434, 498, 562, 626, 690};
    int labelled = 0;
    for (int x : labelX) {
        const int white = CountColour(x - 8, 300, x + 8, 330, White);
        EXPECT_GT(white, 0) << "label at " << x;
        labelled += white;
    }
    EXPECT_EQ(CountColour(128, 36, 768, ClientHeight, White), labelled);
}

// Amplified samples can be huge, infinite or not numbers at all: the paint
// still finishes and keeps to the raster.
TEST(Displays, ExtremeSamplesAreDrawnWithoutFault) {
    FreshEditor();
    const float extremes[] = {1e30f, -1e30f, std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::quiet_NaN(), 3e6f};
    for (int i = 0; i < TableSamples; ++i) Wavetable[i] = extremes[i % 5];
    for (int i = 0; i < SamplesPerFrame; ++i) AdditiveFrame[i] = extremes[i % 5];
    for (int i = 0; i < PadwaveSamples; ++i) PadwaveBuffer[i] = extremes[(i / 256) % 5];
    PaintView(ViewWavetable);
    PaintView(ViewPadwave);
    EXPECT_EQ(PixelAt(186, 0), Grey);  // column 0 reaches past the raster's top
}

#include "tests/test_support.h"

// Frame k from (144 + k, 501 - 3k), a pixel per 0.01; red between the knobs, else grey.
TEST(Displays, FrameStackDrawsEachFrameAtItsPlaceAndHighlightsTheRange) {
    FreshEditor();
    for (auto [view, wave, offset, lo, hi] : {std::array<int, 5>{ViewWavetable, 20, 10, 10, 20},
                                              {ViewWavetable, 10, 20, 10, 20},
                                              {ViewWavetable, 7, 7, 7, 7},
                                              {ViewWaveform, 30, 10, 30, 30}}) {
        CurrentFrame = wave;
        OffsetFrame = offset;
        PaintView(view);
        for (int k = 0; k < FrameCount; ++k) {
            const int y = 501 - 3 * k;
            const Rgb pen = lo <= k && k <= hi ? Red : Grey;
            ASSERT_EQ(CountColour(144 + k, y, 652 + k, y + 1, pen), 508) << k;
            ASSERT_EQ(CountColour(140 + k, y - 1, 656 + k, y + 2, Black), 3 * 516 - 508) << k;
        }
    }
    Wavetable[15 * 1024 + 16] = -0.1f; // frame 15's point 2 (x = 167) 10 pixels up
    PaintView(ViewWaveform);
    EXPECT_EQ(PixelAt(167, 446), Grey);
}

// Every fourth sample 2 pixels apart from (194, 100), held to rows 50..150 after the first.
TEST(Displays, WaveBoxPlotsEveryFourthSample) {
    FreshEditor();
    CurrentFrame = 3;
    for (auto [n, value] :
         {std::pair{0, 0.7f}, {40, 0.25f}, {80, -0.25f}, {400, 0.7f}, {800, -0.9f}})
        FrameAt(3)[n] = value;
    PaintView(ViewWaveform);
    for (auto [x, y] :
         {std::pair{216, 125}, {236, 75}, {194, 170}, {196, 150}, {396, 150}, {596, 50}})
        EXPECT_EQ(PixelAt(x, y), Red) << x << "," << y;
    EXPECT_EQ(CountColour(197, 151, 706, 200, Red) + CountColour(194, 0, 706, 50, Red), 0);
    EXPECT_EQ(CountColour(190, 100, 710, 101, Grey) + CountColour(450, 40, 451, 160, Grey), 612);
}

// Slider i at x = 186 + 16i, 14 wide: `level` grey rows from y = 200, dark grey down to y = 300.
TEST(Displays, SlidersShowTheirLevels) {
    FreshEditor();
    Harmonics[3] = 30;
    PaintView(ViewAdditive);
    for (int i = 0; i < HarmonicCount; ++i) {
        const int left = 186 + 16 * i, mark = 200 + Harmonics[i];
        EXPECT_EQ(CountColour(left, 200, left + 14, mark, Grey), 14 * (mark - 200)) << i;
        EXPECT_EQ(CountColour(left, mark, left + 14, 300, DarkGrey), 14 * (300 - mark)) << i;
        EXPECT_EQ(CountColour(left - 2, 180, left, 300, Black), 240) << i;
    }
}

#include "tests/test_support.h"

// Clicks and tells what was hit: knob 0..2, tab 3..6 (the views in order), or -1 for nothing.
static int TargetHitBy(int x, int y) {
    ViewMode = -1;
    Click(x, y);
    if (ActiveKnob >= 0) return ActiveKnob;
    return ViewMode < 0 ? -1 : 3 + ViewMode - ViewWaveform;
}

// The first and last knob and view tab: their own edges hit nothing, the pixels just inside do.
TEST(ControlPanel, PressesOnEdgesHitNothing) {
    FreshWindow();
    for (auto [l, top, r, b, target] : {std::array{32, 64, 82, 114, 0},
                                        {32, 320, 82, 370, 2},
                                        {194, 10, 282, 34, 3},
                                        {464, 10, 552, 34, 6}}) {
        for (auto [x, y, hit] : {std::tuple{l, top + 1, false},
                                 {l + 1, top, false},
                                 {l + 1, top + 1, true},
                                 {r, b - 1, false},
                                 {r - 1, b, false},
                                 {r - 1, b - 1, true}})
            EXPECT_EQ(TargetHitBy(x, y), hit ? target : -1) << x << "," << y;
    }
}

// The Additive tab computes its frame. A held move sets the pressed knob to its value at the press
// plus the rise, within 0..99, and in the Additive view the slider at x (187..199, 16 on per
// slider) to y - 200, within 0..100.
TEST(ControlPanel, TheAdditiveTabComputesTheFrameAndHeldMovesSetKnobsAndSliders) {
    FreshWindow();
    Click(420, 22);
    EXPECT_NEAR(AdditiveFrame[768], 0.353557f, 1e-6f);
    Drag(57, 345, 57, 335);
    Press(57, 345);
    for (auto [x, y, knob, slider, level] : {std::array{186, 250, 99, -1, 0},
                                             {187, 250, 99, 0, 50},
                                             {199, 181, 99, 0, 0},
                                             {200, 250, 99, -1, 0},
                                             {203, 230, 99, 1, 30},
                                             {683, 319, 36, 31, 100},
                                             {695, 180, 99, -1, 0},
                                             {695, 320, 35, -1, 0},
                                             {695, 500, 0, -1, 0}}) {
        std::fill(std::begin(Harmonics), std::end(Harmonics), 77);
        Move(x, y);
        EXPECT_EQ(PadwaveValue, knob) << x << "," << y;
        for (int i = 0; i < HarmonicCount; ++i)
            ASSERT_EQ(Harmonics[i], i == slider ? level : 77) << x << "," << y << ": slider " << i;
    }
    ViewMode = ViewWavetable; // the other views leave the sliders alone
    Move(203, 230);
    EXPECT_EQ(Harmonics[1], 77);
}

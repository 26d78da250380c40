#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "core/command_ids.h"
#include "tests/window_driver.h"

// The three knobs and four tabs: their own edges hit nothing, the pixels just inside do.
TEST(ControlPanel, PressesOnEdgesHitNothing) {
    FreshWindow();
    const std::tuple<int, int, int, int> targets[] = {
        {32, 64, 82, 114},  {32, 192, 82, 242}, {32, 320, 82, 370}, {194, 10, 282, 34},
        {284, 10, 372, 34}, {374, 10, 462, 34}, {464, 10, 552, 34}};
    for (int i = 0; i < 7; ++i) {
        const auto [l, t, r, b] = targets[i];
        for (auto [x, y, hit] : {std::tuple{l, t + 1, 0}, {l + 1, t, 0}, {l + 1, t + 1, 1},
                                 {r, b - 1, 0}, {r - 1, b, 0}, {r - 1, b - 1, 1}}) {
            ViewMode = i == 3 ? ViewWavetable : ViewWaveform;
            Click(x, y);
            EXPECT_EQ(i < 3 ? ActiveKnob == i : ViewMode == ViewWaveform + i - 3, hit) << x << "," << y;
        }
    }
}

TEST(ControlPanel, PressesWhileHeldAreIgnoredAndNewClearsOnlyTheGuard) {
    FreshWindow();
    Press(600, 500);
    Press(420, 22);  // the ADDITIVE tab, while the button is held
    Release();
    EXPECT_EQ(ViewMode, ViewWaveform);
    Press(57, 90);
    Command(CmdNew);
    const int n = HeadlessInvalidations;
    Move(57, 50);    // still held, but on no knob: repaints only
    Press(420, 22);  // honoured
    EXPECT_EQ(std::tuple(CurrentFrame, HeadlessInvalidations - n, ViewMode),
              std::tuple(0, 2, ViewAdditive));
}

// A knob follows the total offset from the press; slider i takes columns 187 + 16 i ..
// 199 + 16 i and heights 181 .. 319, in the Additive view only.
TEST(ControlPanel, DragsMoveKnobsAndSliders) {
    FreshWindow();
    Drag(57, 90, 57, 80);
    Press(57, 90);
    for (auto [y, frame] : {std::pair{60, 40}, {-110, 99}, {40, 60}, {400, 0}}) {
        Move(57, y);
        EXPECT_EQ(CurrentFrame, frame) << "y " << y;
    }
    Release();
    Click(420, 22);
    Press(600, 500);
    for (int x = 150; x < 720; ++x) {
        for (int32_t& level : Harmonics) level = 77;
        Move(x, 250);
        const int at = (x - 186) % 16, slider = x > 186 && at >= 1 && at <= 13 ? (x - 186) / 16 : -1;
        for (int i = 0; i < HarmonicCount; ++i)
            ASSERT_EQ(Harmonics[i], slider == i ? 50 : 77) << "x " << x;
    }
    for (auto [y, level] : {std::pair{180, 77}, {181, 0}, {230, 30}, {319, 100}, {320, 77}}) {
        Move(274, y);
        EXPECT_EQ(std::exchange(Harmonics[5], 77), level) << "y " << y;
    }
    Release();
    Drag(57, 345, 300, 260);  // a knob press dragged over the sliders moves both
    EXPECT_EQ(std::tuple(Harmonics[7], PadwaveValue), std::tuple(60, 85));
    for (int32_t view : {ViewWaveform, ViewWavetable, ViewPadwave}) {
        ViewMode = view;
        Drag(600, 500, 332, 260);
    }
    EXPECT_EQ(Harmonics[9], 77);
}

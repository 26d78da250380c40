#include <gtest/gtest.h>

#include <algorithm>

#include "core/command_ids.h"
#include "tests/test_support.h"
#include "tests/window_driver.h"

namespace {

// A fresh editor with the window created and the button up.
void FreshWindow() {
    FreshEditor();
    Send(WM_CREATE);
    Release();
}

}  // namespace

// The press tests are strict: a rectangle's own edges hit nothing.
TEST(ControlPanel, PressesOnEdgesHitNothing) {
    FreshWindow();
    for (int k = 0; k < KnobCount; ++k) {
        const Knob knob = Knobs[k];
        const int midX = knob.left + 25, midY = knob.top + 25;
        const int presses[][3] = {{knob.left, midY, -1},  {knob.left + 1, midY, k},
                                  {knob.right, midY, -1}, {knob.right - 1, midY, k},
                                  {midX, knob.top, -1},   {midX, knob.top + 1, k},
                                  {midX, knob.bottom, -1}, {midX, knob.bottom - 1, k}};
        for (const auto& p : presses) {
            Click(p[0], p[1]);
            EXPECT_EQ(ActiveKnob, p[2]) << "knob " << k << " at " << p[0] << "," << p[1];
        }
    }
    // Each press starts from the view the previous one left.
    const int tabs[][3] = {{464, 22, ViewWaveform},  {465, 22, ViewPadwave},
                           {282, 22, ViewPadwave},   {281, 22, ViewWaveform},
                           {552, 22, ViewWaveform},  {551, 22, ViewPadwave},
                           {300, 10, ViewPadwave},   {300, 11, ViewWavetable},
                           {380, 34, ViewWavetable}, {380, 33, ViewAdditive},
                           {284, 20, ViewAdditive},  {285, 20, ViewWavetable}};
    ViewMode = ViewWaveform;
    for (const auto& t : tabs) {
        Click(t[0], t[1]);
        EXPECT_EQ(ViewMode, t[2]) << "tab press at " << t[0] << "," << t[1];
    }
}

TEST(ControlPanel, HonouredPressRefreshesAndHeldPressesAreIgnored) {
    FreshWindow();
    const int builds = HeadlessMenuBarBuilds;
    FullRepaint = false;
    Press(600, 500);  // empty space still refreshes
    EXPECT_EQ(HeadlessMenuBarBuilds, builds + 1);
    EXPECT_TRUE(FullRepaint);

    const int invalidations = HeadlessInvalidations;
    Press(420, 22);  // the ADDITIVE tab, while the button is held
    Send(WM_RBUTTONDOWN, PointParam(420, 22));
    Send(WM_RBUTTONUP, PointParam(420, 22));
    Release();
    Move(57, 10);  // moves with the button up do nothing
    EXPECT_EQ(ViewMode, ViewWaveform);
    EXPECT_EQ(HeadlessMenuBarBuilds, builds + 1);
    EXPECT_EQ(HeadlessInvalidations, invalidations);

    // New clears the guard but not the held button.
    Press(57, 90);
    Command(CmdNew);
    EXPECT_EQ(ActiveKnob, -1);
    Move(57, 50);
    EXPECT_EQ(CurrentFrame, 0);
    Press(420, 22);
    EXPECT_EQ(ViewMode, ViewAdditive);
    Release();

    // In the Additive view every honoured press recomputes the AdditiveFrame,
    // on its own tab or anywhere else.
    std::fill(std::begin(AdditiveFrame), std::end(AdditiveFrame), 0.0f);
    Click(600, 500);
    EXPECT_NE(AdditiveFrame[256], 0.0f);
}

TEST(ControlPanel, KnobDragFollowsTheTotalOffsetFromThePress) {
    FreshWindow();
    Press(57, 90);
    Move(57, 80);
    Release();
    ASSERT_EQ(Knobs[0].value, 10);

    Press(57, 90);
    FullRepaint = false;
    const int builds = HeadlessMenuBarBuilds, invalidations = HeadlessInvalidations;
    Move(57, 60);
    EXPECT_EQ(CurrentFrame, 40);
    EXPECT_EQ(HeadlessInvalidations, invalidations + 1);
    EXPECT_FALSE(FullRepaint);
    EXPECT_EQ(HeadlessMenuBarBuilds, builds);
    Move(57, -110);
    EXPECT_EQ(Knobs[0].value, 99);
    Move(57, 40);
    EXPECT_EQ(CurrentFrame, 60);
    Move(57, 400);
    EXPECT_EQ(CurrentFrame, 0);
    Release();

    // Offset and Padwave write their own state, in any view; the drag does not
    // recompute the edit range.
    ViewMode = ViewPadwave;
    EXPECT_EQ(PadwaveValue, 8);
    Press(57, 345);
    Move(300, 330);
    Release();
    EXPECT_EQ(PadwaveValue, 15);
    ViewMode = ViewWavetable;
    Press(33, 241);
    Move(33, 200);
    Release();
    EXPECT_EQ(OffsetFrame, 41);
    EXPECT_EQ(LastFrameStart, 0);
}

TEST(ControlPanel, SlidersFollowTheHeldPointerInTheAdditiveViewOnly) {
    FreshWindow();
    Click(420, 22);
    ASSERT_EQ(ViewMode, ViewAdditive);
    Press(600, 500);
    // Which slider each pointer column sets: columns 200..202 + 16 i and 186 none.
    for (int x = 150; x < 720; ++x) {
        std::fill(std::begin(Harmonics), std::end(Harmonics), 77);
        Move(x, 250);
        const int offset = x - 186, slider = offset / 16;
        const bool onSlider = offset >= 0 && slider < 32 && offset % 16 >= 1 && offset % 16 <= 13;
        for (int i = 0; i < HarmonicCount; ++i)
            ASSERT_EQ(Harmonics[i], onSlider && slider == i ? 50 : 77) << "x " << x;
    }
    const int heights[][2] = {{180, 77}, {181, 0}, {200, 0}, {230, 30}, {319, 100}, {320, 77}};
    for (const auto& h : heights) {
        Harmonics[5] = 77;
        Move(194 + 16 * 5, h[0]);
        EXPECT_EQ(Harmonics[5], h[1]) << "y " << h[0];
    }
    Release();

    // A press on a knob then dragged into the sliders moves both.
    Press(57, 90);
    Move(300, 260);
    Move(316, 40);
    Release();
    EXPECT_EQ(Harmonics[7], 60);
    EXPECT_EQ(Harmonics[8], 77);
    EXPECT_EQ(Knobs[0].value, 50);

    for (int32_t view : {ViewWaveform, ViewWavetable, ViewPadwave}) {
        ViewMode = view;
        Press(600, 500);
        Move(332, 260);
        Release();
        EXPECT_EQ(Harmonics[9], 77);
    }
}

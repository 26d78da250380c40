#include <gtest/gtest.h>

#include <algorithm>

#include "core/command_ids.h"
#include "core/editor_state.h"
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

TEST(ControlPanel, NewDocumentResetsKnobsTabsAndPressGuard) {
    FreshWindow();
    const Knob wave = Knobs[0], offset = Knobs[1], padwave = Knobs[2];
    EXPECT_EQ((std::vector<int>{wave.left, wave.top, wave.right, wave.bottom}),
              (std::vector<int>{32, 64, 82, 114}));
    EXPECT_EQ((std::vector<int>{offset.left, offset.top, offset.right, offset.bottom}),
              (std::vector<int>{32, 192, 82, 242}));
    EXPECT_EQ((std::vector<int>{padwave.left, padwave.top, padwave.right, padwave.bottom}),
              (std::vector<int>{32, 320, 82, 370}));
    EXPECT_STREQ(offset.caption, "Offset");
    EXPECT_EQ(ViewTabs[3].left, 464);
    EXPECT_EQ(ViewTabs[3].right, 552);
    EXPECT_EQ(ViewTabs[3].captionX, 508);
    EXPECT_STREQ(ViewTabs[1].caption, "WAVETABLE");
    EXPECT_EQ(HarmonicSlider.left[31], 682);
    EXPECT_EQ(HarmonicSlider.right[31], 696);

    Press(57, 90);
    Move(57, 40);
    EXPECT_EQ(Knobs[0].value, 50);
    Command(CmdNew);  // the button is still down: New clears the guard, not ButtonHeld
    EXPECT_EQ(Knobs[0].value, 0);
    EXPECT_EQ(ActiveKnob, -1);
    EXPECT_FALSE(PressGuard);
    EXPECT_EQ(ButtonHeld, 1);
    EXPECT_EQ(PadwaveValue, 8);
    Release();
}

// The press tests are strict: the rectangle's own edges hit nothing.
TEST(ControlPanel, PressesOnEdgesHitNothing) {
    FreshWindow();
    for (int k = 0; k < KnobCount; ++k) {
        const Knob knob = Knobs[k];
        const int midX = knob.left + 25, midY = knob.top + 25;
        const struct {
            int x, y, hit;
        } presses[] = {{knob.left, midY, -1},       {knob.left + 1, midY, k},
                       {knob.right, midY, -1},      {knob.right - 1, midY, k},
                       {midX, knob.top, -1},        {midX, knob.top + 1, k},
                       {midX, knob.bottom, -1},     {midX, knob.bottom - 1, k}};
        for (const auto& p : presses) {
            Click(p.x, p.y);
            EXPECT_EQ(ActiveKnob, p.hit) << "knob " << k << " at " << p.x << "," << p.y;
        }
    }

    const struct {
        int x, y, view;
    } tabs[] = {{464, 22, ViewWaveform},  {465, 22, ViewPadwave},   {283, 22, ViewPadwave},
                {282, 22, ViewPadwave},   {281, 22, ViewWaveform},  {552, 22, ViewWaveform},
                {551, 22, ViewPadwave},   {300, 10, ViewPadwave},   {300, 11, ViewWavetable},
                {380, 34, ViewWavetable}, {380, 33, ViewAdditive},  {373, 20, ViewAdditive},
                {284, 20, ViewAdditive},  {285, 20, ViewWavetable}};
    ViewMode = ViewWaveform;
    for (const auto& t : tabs) {
        Click(t.x, t.y);
        EXPECT_EQ(ViewMode, t.view) << "tab press at " << t.x << "," << t.y;
    }
}

TEST(ControlPanel, HonouredPressRefreshesAndHeldPressesAreIgnored) {
    FreshWindow();
    const int builds = HeadlessMenuBarBuilds;
    FullRepaint = false;
    Press(600, 500);  // empty space still refreshes
    EXPECT_EQ(HeadlessMenuBarBuilds, builds + 1);
    EXPECT_TRUE(FullRepaint);
    EXPECT_EQ(ButtonHeld, 1);
    EXPECT_EQ(PressY, 500);

    FullRepaint = false;
    const int invalidations = HeadlessInvalidations;
    Press(420, 22);  // the ADDITIVE tab, while the button is held
    EXPECT_EQ(ViewMode, ViewWaveform);
    EXPECT_EQ(HeadlessMenuBarBuilds, builds + 1);
    EXPECT_EQ(HeadlessInvalidations, invalidations);
    Release();
    Release();
    EXPECT_EQ(ButtonHeld, 0);
    Move(57, 10);  // moves with the button up do nothing
    EXPECT_EQ(HeadlessInvalidations, invalidations);

    // The right button is consumed without any effect.
    Send(WM_RBUTTONDOWN, PointParam(420, 22));
    Send(WM_RBUTTONUP, PointParam(420, 22));
    EXPECT_EQ(ViewMode, ViewWaveform);
    EXPECT_EQ(ButtonHeld, 0);
    EXPECT_EQ(HeadlessMenuBarBuilds, builds + 1);

    Press(420, 22);
    EXPECT_EQ(ViewMode, ViewAdditive);
    EXPECT_EQ(HeadlessMenuBarBuilds, builds + 2);
    Release();
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
    EXPECT_EQ(Knobs[0].value, 40);
    EXPECT_EQ(CurrentFrame, 40);
    EXPECT_EQ(HeadlessInvalidations, invalidations + 1);
    EXPECT_FALSE(FullRepaint);
    EXPECT_EQ(HeadlessMenuBarBuilds, builds);
    Move(57, -110);
    EXPECT_EQ(Knobs[0].value, 99);
    Move(57, 40);
    EXPECT_EQ(Knobs[0].value, 60);
    EXPECT_EQ(CurrentFrame, 60);
    Move(57, 400);
    EXPECT_EQ(CurrentFrame, 0);
    Release();

    // Offset and Padwave write their own state, in every view; the drag does
    // not recompute the edit range.
    ViewMode = ViewPadwave;
    EXPECT_EQ(PadwaveValue, 8);
    Press(57, 345);
    Move(300, 330);
    EXPECT_EQ(Knobs[2].value, 15);
    EXPECT_EQ(PadwaveValue, 15);
    Release();
    ViewMode = ViewWavetable;
    Press(33, 241);
    Move(33, 200);
    Release();
    EXPECT_EQ(OffsetFrame, 41);
    EXPECT_EQ(CurrentFrame, 0);
    EXPECT_EQ(LastFrameStart, 0);
}

TEST(ControlPanel, SlidersFollowTheHeldPointerInTheAdditiveViewOnly) {
    FreshWindow();
    // Which slider each pointer column sets, with everything else untouched.
    Click(420, 22);
    ASSERT_EQ(ViewMode, ViewAdditive);
    Press(600, 500);
    for (int x = 150; x < 720; ++x) {
        std::fill(std::begin(Harmonics), std::end(Harmonics), 77);
        Move(x, 250);
        const int offset = x - 186;
        const bool onSlider = offset >= 0 && offset / 16 < 32 && offset % 16 >= 1 &&
                              offset % 16 <= 13;
        for (int i = 0; i < HarmonicCount; ++i)
            ASSERT_EQ(Harmonics[i], onSlider && offset / 16 == i ? 50 : 77) << "x " << x;
    }

    std::fill(std::begin(Harmonics), std::end(Harmonics), 77);
    const struct {
        int y, level;
    } heights[] = {{180, 77}, {181, 0}, {199, 0}, {200, 0}, {230, 30},
                   {300, 100}, {319, 100}, {320, 77}};
    for (const auto& h : heights) {
        Harmonics[5] = 77;
        Move(194 + 16 * 5, h.y);
        EXPECT_EQ(Harmonics[5], h.level) << "y " << h.y;
    }
    Release();

    // A press on a knob then dragged into the sliders moves both.
    Press(57, 90);
    Move(300, 260);
    EXPECT_EQ(Knobs[0].value, 0);
    EXPECT_EQ(Harmonics[7], 60);
    Move(316, 40);
    EXPECT_EQ(Knobs[0].value, 50);
    EXPECT_EQ(Harmonics[8], 77);
    Release();

    for (int32_t view : {ViewWaveform, ViewWavetable, ViewPadwave}) {
        ViewMode = view;
        Press(600, 500);
        Move(300, 260);
        Release();
        EXPECT_EQ(Harmonics[7], 60);
    }
    Move(332, 260);  // button up
    EXPECT_EQ(Harmonics[9], 77);
}

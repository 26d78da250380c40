// Keyboard accelerators and the mouse wheel, as the window receives them.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "core/command_ids.h"
#include "core/panel.h"
#include "tests/test_support.h"

namespace {

void SendMouse(uint32_t message, int x, int y) { MainWindowProc(HeadlessWindow(), message, 0, PointParam(x, y)); }

void TurnWheel(int x, int y, int notches) {
    MainWindowProc(HeadlessWindow(), WM_MOUSEWHEEL, WheelParam(notches), PointParam(x, y));
}

}  // namespace

TEST(Accelerators, RunTheirCommandsWhereTheViewOffersThem) {
    FreshEditor();
    FillFrame(0, 0.5f);
    Command(CmdAmplify);
    EXPECT_TRUE(HeadlessPressKey("Ctrl+Z"));
    EXPECT_EQ(FrameAt(0)[9], 0.5f);
    EXPECT_TRUE(HeadlessPressKey("Ctrl+C"));
    EXPECT_TRUE(HeadlessPressKey("Ctrl+X"));
    EXPECT_EQ(FrameAt(0)[9], 0.0f);
    EXPECT_TRUE(HeadlessPressKey("Ctrl+V"));
    EXPECT_EQ(FrameAt(0)[9], 0.5f);
    EXPECT_TRUE(HeadlessPressKey("Space"));
    EXPECT_TRUE(HeadlessPressKey("Esc"));
    ASSERT_EQ(HeadlessSoundCalls.size(), 3u);
    EXPECT_EQ(HeadlessSoundCalls[2], "stop");
    EXPECT_TRUE(HeadlessPressKey("Ctrl+N"));
    EXPECT_EQ(FrameAt(0)[9], 0.0f);

    // The Padwave view's Edit menu has neither Undo, Cut, Copy nor Paste.
    FillFrame(0, 0.25f);
    Command(CmdViewPadwave);
    for (const char* key : {"Ctrl+Z", "Ctrl+X", "Ctrl+C", "Ctrl+V"}) EXPECT_FALSE(HeadlessPressKey(key)) << key;
    EXPECT_EQ(FrameAt(0)[9], 0.25f);
    EXPECT_TRUE(HeadlessPressKey("Ctrl+Q"));
    EXPECT_TRUE(HeadlessDestroyed);
}

// A notch over a knob writes what a one-pixel drag on it writes; off the knobs, and while the
// button is held, the wheel does nothing.
TEST(MouseWheel, StepsTheKnobUnderThePointerAsADragWould) {
    FreshEditor();
    SendMouse(WM_LBUTTONDOWN, 57, 217);
    SendMouse(WM_MOUSEMOVE, 57, 214);
    SendMouse(WM_LBUTTONUP, 57, 214);
    const int32_t dragged = Knobs[1].value;

    FreshEditor();
    TurnWheel(57, 217, 3);
    EXPECT_EQ(OffsetFrame, 3);
    EXPECT_EQ(Knobs[1].value, dragged);
    TurnWheel(57, 217, -5);
    EXPECT_EQ(OffsetFrame, 0);
    TurnWheel(57, 345, 2);
    EXPECT_EQ(PadwaveValue, 2);

    TurnWheel(300, 300, 4);
    SendMouse(WM_LBUTTONDOWN, 57, 89);
    TurnWheel(57, 217, 4);
    EXPECT_EQ(Knobs[1].value, 0);
    EXPECT_EQ(OffsetFrame, 0);
}

#include "tests/test_support.h"

// A notch over a knob writes what a one-pixel drag on it writes; off the knobs, and while the
// button is held, the wheel does nothing. Left and Right step the Wave knob so, with Shift the
// Offset knob.
TEST(MouseWheel, StepsTheKnobUnderThePointerAsADragWould) {
    const auto TurnWheel = [](int x, int y, int notches) {
        MainWindowProc(HeadlessWindow(), WM_MOUSEWHEEL, WheelParam(notches), PointParam(x, y));
    };
    FreshEditor();
    Drag(57, 217, 57, 214);
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
    Press(57, 345);
    TurnWheel(57, 217, 4);
    EXPECT_EQ(Knobs[1].value, 0);
    EXPECT_EQ(OffsetFrame, 0);
    EXPECT_EQ(PadwaveValue, 2); // nor moves the held knob

    Release();
    for (const char* key : {"Right", "Right", "Shift+Right", "Left", "Shift+Left", "Shift+Left"})
        EXPECT_TRUE(HeadlessPressKey(key)) << key;
    EXPECT_EQ(CurrentFrame, 1);
    EXPECT_EQ(Knobs[0].value, 1);
    EXPECT_EQ(OffsetFrame, 0);
    EXPECT_EQ(Knobs[1].value, 0);
}

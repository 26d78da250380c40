#include "platform/common/strips.h"
#include "tests/window_driver.h"

// Knob k at (32, 64 + 128k) shows its value, its LED at (34, 28 + 128k) the value plus one.
TEST(MainWindow, KnobsShowTheirValueAndLedsTheValuePlusOne) {
    FreshWindow();
    Drag(57, 90, 57, 60);
    Drag(57, 345, 57, 200);
    Send(WM_PAINT);
    Bitmap knob;
    Bitmap led;
    ASSERT_TRUE(LoadBitmapResource(KnobStripId, knob));
    ASSERT_TRUE(LoadBitmapResource(LedStripId, led));
    Surface expected = ClientSurface(HeadlessWindow());  // with the wanted images copied over it
    for (auto [k, value] : {std::pair{0, 30}, {1, 0}, {2, 99}}) {
        CopyBitmap(expected, 32, 64 + 128 * k, knob, 0, KnobSize * value, KnobSize, KnobSize);
        CopyBitmap(expected, 34, 28 + 128 * k, led, 0, LedHeight * (value + 1), LedWidth,
                   LedHeight);
    }
    EXPECT_TRUE(expected.pixels == ClientSurface(HeadlessWindow()).pixels);
}

TEST(MainWindow, CloseAndExitEndTheProgram) {
    for (bool byMenu : {false, true}) {
        FreshWindow();
        if (byMenu) Command(CmdExit);
        else Send(WM_CLOSE);
        EXPECT_EQ(HeadlessQuitCode, 0) << byMenu;
    }
}

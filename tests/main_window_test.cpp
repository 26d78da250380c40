#include "platform/common/strips.h"
#include "tests/test_support.h"

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
    Surface expected = ClientSurface(HeadlessWindow()); // with the wanted images copied over it
    for (auto [k, value] : {std::pair{0, 30}, {1, 0}, {2, 99}}) {
        CopyBitmap(expected, 32, 64 + 128 * k, knob, 0, KnobSize * value, KnobSize, KnobSize);
        CopyBitmap(expected, 34, 28 + 128 * k, led, 0, LedHeight * (value + 1), LedWidth,
                   LedHeight);
    }
    EXPECT_TRUE(expected.pixels == ClientSurface(HeadlessWindow()).pixels);
}

// The white dot turns 3 degrees a step: seven o'clock (0), twelve (50), five (100), on the panel.
TEST(Strips, KnobDotTurnsFromSevenThroughTwelveToFiveOClock) {
    Bitmap knob;
    ASSERT_TRUE(LoadEmbeddedBitmap(KnobStripId, knob));
    for (int k = 0; k < StripImages; ++k) {
        float x = 0; // sums over the dot's pixels, from the centre
        float y = 0;
        for (int i = 0; i < KnobSize * KnobSize; ++i) {
            const uint8_t* p = &knob.rgb[(size_t(k) * KnobSize * KnobSize + i) * 3];
            if (p[0] <= 235 || p[1] <= 235 || p[2] <= 230) continue;
            x += i % KnobSize - 24.5f;
            y += i / KnobSize - 24.5f;
        }
        EXPECT_NEAR(std::atan2(x, -y) * 180 / 3.14159265f, -150 + 3 * k, 2) << k;
        const uint8_t* corner = &knob.rgb[size_t(k) * KnobSize * KnobSize * 3];
        EXPECT_EQ((Rgb{corner[0], corner[1], corner[2]}), PanelColour) << k;
    }
}

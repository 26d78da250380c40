#include "platform/common/strips.h"
#include "tests/test_support.h"

// The white dot turns clockwise 3 degrees a step: seven o'clock (0), twelve (50), five (100);
// the knob stands on the panel's colour.
TEST(Strips, KnobDotTurnsFromSevenThroughTwelveToFiveOClock) {
    Bitmap knob;
    ASSERT_TRUE(LoadEmbeddedBitmap(KnobStripId, knob));
    for (int k = 0; k < StripImages; ++k) {
        float x = 0;  // sums over the dot's pixels, from the centre
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

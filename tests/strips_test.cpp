#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "platform/common/strips.h"
#include "platform/common/surface.h"

static const Rgb Panel = {131, 133, 112}, Red = {71, 0, 0};

// Pixel (x, y) of image k of a strip; corner c (0 .. 3) of a rectangle is at c % 2, c / 2.
static Rgb Pixel(const Bitmap& b, int k, int x, int y) {
    const uint8_t* p = &b.rgb[((size_t(k) * b.height / StripImages + y) * b.width + x) * 3];
    return {p[0], p[1], p[2]};
}

TEST(Strips, LedImagesShowDistinctNumbersOnTheRedField) {
    Bitmap led;
    EXPECT_FALSE(LoadEmbeddedBitmap(101, led));
    ASSERT_TRUE(LoadEmbeddedBitmap(LedStripId, led));
    ASSERT_EQ(std::vector<int>({led.width, led.height}), std::vector<int>({48, 3232}));
    std::set<std::vector<uint8_t>> seen;
    for (int k = 0, lit = 0; k < StripImages; ++k, lit = 0) {
        for (int c = 4; c--;) EXPECT_EQ(Pixel(led, k, 5 + c % 2 * 36, 6 + c / 2 * 19), Red) << k;
        for (int c = 4; c--;) EXPECT_EQ(Pixel(led, k, c % 2 * 47, c / 2 * 31), Panel) << k;
        for (int i = 0; i < 20 * 37; ++i) lit += Pixel(led, k, 5 + i % 37, 6 + i / 37).r > 150;
        EXPECT_GT(lit, 10) << k;
        const auto image = led.rgb.begin() + size_t(k) * LedWidth * LedHeight * 3;
        EXPECT_TRUE(seen.emplace(image, image + LedWidth * LedHeight * 3).second) << k;
    }
}

// The white dot turns clockwise, 3 degrees a step, from seven o'clock (0) through twelve (50) to
// five o'clock (100); the skirt beside the cap is black on whichever side the dot is not.
TEST(Strips, KnobDotTurnsFromSevenThroughTwelveToFiveOClock) {
    Bitmap knob;
    ASSERT_TRUE(LoadEmbeddedBitmap(KnobStripId, knob));
    ASSERT_EQ(std::vector<int>({knob.width, knob.height}), std::vector<int>({50, 5050}));
    for (int k = 0; k < StripImages; ++k) {
        float x = 0, y = 0, n = 0;  // sums over the dot's pixels, from the centre
        for (int i = 0; i < 50 * 50; ++i)
            if (const Rgb c = Pixel(knob, k, i % 50, i / 50); c.r > 235 && c.g > 235 && c.b > 230)
                x += i % 50 - 24.5f, y += i / 50 - 24.5f, ++n;
        ASSERT_GT(n, 4) << k;
        EXPECT_NEAR(std::atan2(x, -y) * 180 / 3.14159265f, -150 + 3 * k, 2) << k;
        for (int c = 4; c--;) EXPECT_EQ(Pixel(knob, k, c % 2 * 49, c / 2 * 49), Panel) << k;
        const Rgb l = Pixel(knob, k, 8, 25), r = Pixel(knob, k, 41, 25);
        EXPECT_TRUE(l.r + l.g + l.b < 240 || r.r + r.g + r.b < 240) << k;
    }
}

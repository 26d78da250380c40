#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "platform/common/strips.h"
#include "platform/common/surface.h"
#include "platform/headless.h"

namespace {

const Rgb Panel = {131, 133, 112};

Rgb Pixel(const Bitmap& b, int x, int y) {
    const uint8_t* p = &b.rgb[(size_t(y) * b.width + x) * 3];
    return {p[0], p[1], p[2]};
}

std::vector<uint8_t> Image(const Bitmap& b, int index, int h) {
    const size_t bytes = size_t(b.width) * h * 3;
    return std::vector<uint8_t>(b.rgb.begin() + index * bytes, b.rgb.begin() + (index + 1) * bytes);
}

// Centre of the white dot of knob image k: the mean of its near-white pixels.
void DotCentre(const Bitmap& knob, int k, float& x, float& y) {
    float sx = 0, sy = 0;
    int n = 0;
    for (int py = 0; py < KnobSize; ++py)
        for (int px = 0; px < KnobSize; ++px) {
            const Rgb c = Pixel(knob, px, k * KnobSize + py);
            if (c.r > 235 && c.g > 235 && c.b > 230) sx += px, sy += py, ++n;
        }
    ASSERT_GT(n, 4) << "image " << k;
    x = sx / n + 0.5f - KnobSize / 2.0f;
    y = sy / n + 0.5f - KnobSize / 2.0f;
}

}  // namespace

TEST(Strips, LedImagesShowDistinctNumbersOnTheRedField) {
    HeadlessReset();
    Bitmap led;
    ASSERT_TRUE(LoadBitmapResource(LedStripId, led));
    ASSERT_EQ(led.width, 48);
    ASSERT_EQ(led.height, 3232);
    std::set<std::vector<uint8_t>> seen;
    for (int k = 0; k <= 100; ++k) {
        const int top = k * LedHeight;
        // Field corners, panel corners and the bevel between them.
        for (int x : {5, 41})
            for (int y : {6, 25}) EXPECT_EQ(Pixel(led, x, top + y), (Rgb{71, 0, 0})) << k;
        for (int x : {0, 47})
            for (int y : {0, 31}) EXPECT_EQ(Pixel(led, x, top + y), Panel) << k;
        EXPECT_EQ(Pixel(led, 3, top + 15).r, Pixel(led, 3, top + 15).b) << "grey bevel " << k;
        int lit = 0;
        for (int y = 6; y <= 25; ++y)
            for (int x = 5; x <= 41; ++x) lit += Pixel(led, x, top + y).r > 150;
        EXPECT_GT(lit, 10) << k;
        EXPECT_TRUE(seen.insert(Image(led, k, LedHeight)).second) << k;
    }
}

TEST(Strips, KnobDotTurnsFromSevenThroughTwelveToFiveOClock) {
    HeadlessReset();
    Bitmap knob;
    ASSERT_TRUE(LoadBitmapResource(KnobStripId, knob));
    ASSERT_EQ(knob.width, 50);
    ASSERT_EQ(knob.height, 5050);
    float x0, y0, x50, y50, x100, y100, x25, y25;
    DotCentre(knob, 0, x0, y0);
    DotCentre(knob, 25, x25, y25);
    DotCentre(knob, 50, x50, y50);
    DotCentre(knob, 100, x100, y100);
    EXPECT_LT(x0, -5);
    EXPECT_GT(y0, 10);
    EXPECT_NEAR(x50, 0, 0.5);
    EXPECT_LT(y50, -15);
    EXPECT_NEAR(x100, -x0, 0.5);
    EXPECT_NEAR(y100, y0, 0.5);
    EXPECT_LT(x25, -10);
    EXPECT_LT(y25, 0);
    for (int k = 0; k <= 100; ++k) {
        for (int c : {0, 49}) {
            EXPECT_EQ(Pixel(knob, c, k * 50 + c), Panel) << k;
            EXPECT_EQ(Pixel(knob, c, k * 50 + 49 - c), Panel) << k;
        }
        EXPECT_EQ(Pixel(knob, 25, k * 50 + 1), Panel) << k;
        // The skirt beside the cap is black on whichever side the dot is not.
        const Rgb left = Pixel(knob, 25 - 17, k * 50 + 25);
        const Rgb right = Pixel(knob, 24 + 17, k * 50 + 25);
        EXPECT_LT(std::min(left.r + left.g + left.b, right.r + right.g + right.b), 3 * 80) << k;
    }
}

TEST(Strips, HeadlessLoadsFailOnRequestAndForUnknownIds) {
    HeadlessReset();
    Bitmap b;
    EXPECT_FALSE(LoadBitmapResource(101, b));
    HeadlessFailingBitmaps = {LedStripId};
    EXPECT_FALSE(LoadBitmapResource(LedStripId, b));
    EXPECT_TRUE(LoadBitmapResource(KnobStripId, b));
    EXPECT_EQ(b.height, 5050);
}

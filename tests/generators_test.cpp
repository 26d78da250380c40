#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/command_ids.h"
#include "synth/generators.h"
#include "tests/test_support.h"

namespace {

float PeakOf(const float* s, int n) {
    float m = 0.0f;
    for (int i = 0; i < n; ++i) m = std::max(m, std::fabs(s[i]));
    return m;
}

// Every sample outside frames [lo, hi] still holds its sentinel value.
void ExpectOutsideUntouched(int lo, int hi) {
    for (int i = 0; i < TableSamples; ++i) {
        const int frame = i / SamplesPerFrame;
        if (frame >= lo && frame <= hi) continue;
        ASSERT_EQ(Wavetable[i], static_cast<float>(frame * 1000 + i % SamplesPerFrame)) << i;
    }
}

}  // namespace

TEST(Generators, WorkedValuesOfEachWave) {
    FreshEditor();
    Command(CmdSine);
    const float* f = FrameAt(0);
    EXPECT_NEAR(f[0], 0.0f, 1e-6f);
    EXPECT_NEAR(f[256], -0.353557f, 1e-6f);
    EXPECT_NEAR(f[768], 0.353557f, 1e-6f);
    EXPECT_NEAR(PeakOf(f, 1024), 0.353557f, 1e-6f);

    Command(CmdSaw);
    EXPECT_NEAR(f[0], 0.0f, 1e-6f);
    EXPECT_NEAR(f[512], 0.0f, 1e-4f);
    EXPECT_NEAR(f[2], -0.4614f, 1e-4f);
    EXPECT_NEAR(f[1022], 0.4616f, 1e-4f);
    float saw[SamplesPerFrame];
    std::copy_n(f, SamplesPerFrame, saw);

    // Ramp is the saw with every sign bit flipped, and one Undo goes back past it.
    Command(CmdRamp);
    for (int n = 0; n < SamplesPerFrame; ++n) {
        ASSERT_EQ(f[n], -saw[n]) << n;
        ASSERT_NE(std::signbit(f[n]), std::signbit(saw[n])) << n;
    }
    Command(CmdUndo);
    for (int n = 0; n < SamplesPerFrame; ++n) ASSERT_EQ(f[n], saw[n]) << n;

    Command(CmdTriangle);
    EXPECT_NEAR(f[0], 0.0f, 1e-6f);
    EXPECT_NEAR(f[256], -0.30794f, 2e-5f);
    EXPECT_NEAR(f[768], 0.30794f, 2e-5f);

    Command(CmdSquare);
    EXPECT_NEAR(f[256], -0.3134f, 2e-3f);
    EXPECT_NEAR(f[768], 0.3134f, 2e-3f);
    EXPECT_NEAR(f[2], -0.3704f, 1e-3f);
    EXPECT_NEAR(f[514], 0.3704f, 1e-3f);
    EXPECT_NEAR(PeakOf(f, 1024), 0.3704f, 1e-3f);
}

// The Triangle's step is 2 pi / (1024 / h), not 2 pi / ((1 / h) x 1024): the two
// forms round differently for some h, and the generator must use its own.
TEST(Generators, TriangleUsesItsOwnStepForm) {
    FreshEditor();
    Command(CmdTriangle);
    float expected[SamplesPerFrame] = {};
    bool subtract = false;
    for (int h = 1; h < 256; h += 2) {
        const float step = 6.2831855f / (1024.0f / static_cast<float>(h));
        const float amp = 0.25f / static_cast<float>(h * h);
        float phase = -3.1415927f;
        for (int n = 0; n < SamplesPerFrame; ++n) {
            const float v = static_cast<float>(std::sin(static_cast<double>(phase))) * amp;
            expected[n] = subtract ? expected[n] - v : v + expected[n];
            phase = step + phase;
        }
        subtract = !subtract;
    }
    for (int n = 0; n < SamplesPerFrame; ++n) ASSERT_EQ(FrameAt(0)[n], expected[n]) << n;
}

TEST(Generators, WriteOnlyTheirFramesAndTakeOneSnapshot) {
    FreshEditor();
    FillTableWithIndices();
    CurrentFrame = 7;
    Command(CmdSaw);
    ExpectOutsideUntouched(7, 7);
    EXPECT_LT(FrameAt(7)[2], -0.4f);
    Command(CmdUndo);
    EXPECT_EQ(FrameAt(7)[2], 7002.0f);

    // Wavetable view, knobs 10 and 3: frames 3..10 all hold the same wave.
    Command(CmdViewWavetable);
    CurrentFrame = 10;
    OffsetFrame = 3;
    Command(CmdSquare);
    ExpectOutsideUntouched(3, 10);
    for (int k = 3; k <= 10; ++k)
        ASSERT_TRUE(std::equal(FrameAt(3), FrameAt(4), FrameAt(k))) << k;
    EXPECT_NEAR(FrameAt(3)[768], 0.3134f, 2e-3f);

    // The last frame of the table, alone.
    Command(CmdUndo);
    CurrentFrame = OffsetFrame = 99;
    Command(CmdSine);
    ExpectOutsideUntouched(99, 99);
    EXPECT_NEAR(FrameAt(99)[768], 0.353557f, 1e-6f);
}

TEST(Generators, RandomDrawsFreshNoisePerFrame) {
    FreshEditor();
    Command(CmdRandom);
    float first[SamplesPerFrame];
    std::copy_n(FrameAt(0), SamplesPerFrame, first);
    for (int n = 0; n < SamplesPerFrame; ++n) {
        const float v = first[n];
        ASSERT_GE(v, -0.35f);
        ASSERT_LE(v, 0.34f);
        // Whole hundredths only.
        ASSERT_EQ(v, static_cast<float>(static_cast<int>(std::lround(v * 100.0f))) * 0.01f);
    }
    Command(CmdRandom);
    EXPECT_FALSE(std::equal(first, first + SamplesPerFrame, FrameAt(0)));

    FillTableWithIndices();
    Command(CmdViewWavetable);
    CurrentFrame = 1;
    OffsetFrame = 0;
    Command(CmdRandom);
    EXPECT_FALSE(std::equal(FrameAt(0), FrameAt(1), FrameAt(1)));
    ExpectOutsideUntouched(0, 1);
}

TEST(PeakNormalize, ScalesToTheFixedPeakWithAFloor) {
    float run[4] = {1.0f, -0.5f, 0.25f, 0.0f};
    PeakNormalize(run, 4);
    EXPECT_EQ(run[0], 0.35355678f);
    EXPECT_FLOAT_EQ(run[1], -0.35355678f / 2);

    float seven[3] = {0.7f, -0.1f, 0.2f};
    PeakNormalize(seven, 3);
    EXPECT_NEAR(seven[0], 0.353557f, 1e-6f);

    // Below the floor the gain is that of a 0.00001 peak: 1e-6 grows to about 0.0354.
    float tiny[2] = {0.000001f, -0.0000005f};
    PeakNormalize(tiny, 2);
    EXPECT_NEAR(tiny[0], 0.0354f, 1e-4f);

    float zeros[3] = {};
    PeakNormalize(zeros, 3);
    EXPECT_EQ(zeros[0], 0.0f);
    EXPECT_EQ(zeros[2], 0.0f);

    // A NaN sample never becomes the peak.
    float withNan[3] = {NAN, 1.0f, -0.5f};
    PeakNormalize(withNan, 3);
    EXPECT_EQ(withNan[1], 0.35355678f);
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/command_ids.h"
#include "core/sample_ops.h"
#include "synth/generators.h"
#include "tests/test_support.h"

TEST(Generators, WorkedValuesOfEachWave) {
    FreshEditor();
    const float* f = FrameAt(0);
    Command(CmdSine);
    EXPECT_NEAR(f[0], 0.0f, 1e-6f);
    EXPECT_NEAR(f[256], -0.353557f, 1e-6f);
    EXPECT_NEAR(f[768], 0.353557f, 1e-6f);

    Command(CmdSaw);
    EXPECT_NEAR(f[2], -0.4614f, 1e-4f);
    EXPECT_NEAR(f[1022], 0.4616f, 1e-4f);
    float saw[SamplesPerFrame];
    std::copy_n(f, SamplesPerFrame, saw);

    // Ramp flips every sign bit of the saw, and one Undo goes back past both.
    Command(CmdRamp);
    for (int n = 0; n < SamplesPerFrame; ++n)
        ASSERT_TRUE(f[n] == -saw[n] && std::signbit(f[n]) != std::signbit(saw[n])) << n;
    Command(CmdUndo);
    EXPECT_TRUE(std::equal(saw, saw + SamplesPerFrame, f));

    Command(CmdTriangle);
    EXPECT_NEAR(f[256], -0.30794f, 2e-5f);
    EXPECT_NEAR(f[768], 0.30794f, 2e-5f);

    Command(CmdSquare);
    EXPECT_NEAR(f[256], -0.3134f, 2e-3f);
    EXPECT_NEAR(f[2], -0.3704f, 1e-3f);
    EXPECT_NEAR(f[514], 0.3704f, 1e-3f);
}

TEST(Generators, WriteOnlyTheirFrames) {
    FreshEditor();
    FillTableWithIndices();
    auto untouchedOutside = [](int lo, int hi) {
        for (int i = 0; i < TableSamples; ++i) {
            const int frame = i / SamplesPerFrame;
            if ((frame < lo || frame > hi) && Wavetable[i] != frame * 1000 + i % 1024) return false;
        }
        return true;
    };
    CurrentFrame = 7;
    Command(CmdSaw);
    EXPECT_TRUE(untouchedOutside(7, 7));

    // Wavetable view, knobs 10 and 3: frames 3..10 all hold the same wave.
    Command(CmdViewWavetable);
    CurrentFrame = 10;
    OffsetFrame = 3;
    Command(CmdSquare);
    EXPECT_TRUE(untouchedOutside(3, 10));
    for (int k = 4; k <= 10; ++k) ASSERT_TRUE(std::equal(FrameAt(3), FrameAt(4), FrameAt(k))) << k;

    // Random gives each frame of the range its own noise, in whole hundredths.
    CurrentFrame = OffsetFrame = 99;
    Command(CmdRandom);
    CurrentFrame = 98;
    Command(CmdRandom);
    EXPECT_TRUE(untouchedOutside(3, 99));
    EXPECT_FALSE(std::equal(FrameAt(98), FrameAt(99), FrameAt(99)));
    for (int n = 0; n < SamplesPerFrame; ++n) {
        const float v = FrameAt(99)[n];
        ASSERT_TRUE(v >= -0.35f && v <= 0.34f) << v;
        ASSERT_EQ(v, static_cast<float>(std::lround(v * 100.0f)) * 0.01f) << v;
    }
}

TEST(PeakNormalize, ScalesToTheFixedPeakWithAFloor) {
    float run[3] = {1.0f, -0.5f, NAN};  // a NaN never becomes the peak
    PeakNormalize(run, 3);
    EXPECT_EQ(run[0], 0.35355678f);
    EXPECT_FLOAT_EQ(run[1], -0.35355678f / 2);

    float tiny[2] = {0.000001f, 0.0f};  // below the floor: gain of a 0.00001 peak
    PeakNormalize(tiny, 2);
    EXPECT_NEAR(tiny[0], 0.0354f, 1e-4f);
    EXPECT_EQ(tiny[1], 0.0f);
}

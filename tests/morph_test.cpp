#include <gtest/gtest.h>

#include <algorithm>

#include "core/command_ids.h"
#include "tests/test_support.h"

namespace {
void Morph(int wave, int offset) {
    Command(CmdViewWavetable);
    CurrentFrame = wave;
    OffsetFrame = offset;
    Command(CmdMorph);
}
}  // namespace

TEST(Morph, RunningSumCrossfade) {
    FreshEditor();
    FrameAt(10)[0] = -0.2f;
    FrameAt(14)[0] = 0.6f;
    FrameAt(10)[1] = 0.6f;  // the other direction at another position
    FrameAt(14)[1] = -0.2f;
    FillFrame(12, 9.0f);
    Morph(14, 10);
    EXPECT_EQ(FrameAt(10)[0], -0.2f);
    EXPECT_EQ(FrameAt(11)[0], 0.0f);
    EXPECT_FLOAT_EQ(FrameAt(12)[0], 0.2f);
    EXPECT_FLOAT_EQ(FrameAt(13)[0], 0.4f);
    EXPECT_EQ(FrameAt(14)[0], 0.6f);
    EXPECT_FLOAT_EQ(FrameAt(12)[1], 0.2f);
    EXPECT_EQ(FrameAt(12)[500], 0.0f);

    // The step is added t times, not multiplied: compare with that sum exactly.
    const float inc = (0.6f - -0.2f) / 4.0f;
    float acc = 0.0f;
    for (int t = 0; t < 4; ++t) {
        EXPECT_EQ(FrameAt(10 + t)[0], -0.2f + acc) << t;
        acc = acc + inc;
    }
}

TEST(Morph, BoundsSymmetryAndUndo) {
    FreshEditor();
    FillTableWithIndices();
    Morph(0, 99);
    float forward[TableSamples];
    std::copy_n(Wavetable, TableSamples, forward);
    for (int k = 0; k < 1024; ++k) {
        ASSERT_EQ(FrameAt(0)[k], static_cast<float>(k));
        ASSERT_EQ(FrameAt(99)[k], 99000.0f + k);
    }
    EXPECT_NEAR(FrameAt(50)[3], 50003.0f, 0.1f);

    FillTableWithIndices();
    Morph(99, 0);
    EXPECT_TRUE(std::equal(forward, forward + TableSamples, Wavetable));
    Command(CmdUndo);
    EXPECT_EQ(FrameAt(50)[3], 50003.0f);

    // Adjacent or equal knobs change nothing; in the Waveform view Morph only
    // tells the user, leaving the table and the snapshot alone.
    FillTableWithIndices();
    Morph(3, 4);
    Morph(12, 12);
    EXPECT_EQ(FrameAt(3)[9], 3009.0f);
    EXPECT_EQ(FrameAt(12)[9], 12009.0f);

    Command(CmdViewWaveform);
    UndoSnapshot[0] = 123.0f;
    HeadlessMessageBoxes.clear();
    Command(CmdMorph);
    ASSERT_EQ(HeadlessMessageBoxes.size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes[0].text, "Select wavetable view to morph from one waveform to another.");
    EXPECT_EQ(HeadlessMessageBoxes[0].caption, "QARNO Wavetable Editor");
    EXPECT_EQ(HeadlessMessageBoxes[0].owner, HeadlessWindow());
    EXPECT_EQ(UndoSnapshot[0], 123.0f);
    EXPECT_EQ(FrameAt(40)[1], 40001.0f);
}

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

TEST(Morph, RunningSumCrossfadeInEitherKnobOrder) {
    FreshEditor();
    FrameAt(10)[0] = -0.2f;
    FrameAt(14)[0] = 0.6f;
    FrameAt(10)[1] = 0.6f;
    FrameAt(14)[1] = -0.2f;
    FillFrame(20, 9.0f);
    Morph(14, 10);
    // Frame 10 + t holds a + t steps of |a - b| / 4 added one by one.
    float acc = 0.0f;
    for (int t = 0; t <= 4; ++t) {
        EXPECT_EQ(FrameAt(10 + t)[0], t < 4 ? -0.2f + acc : 0.6f) << t;
        EXPECT_EQ(FrameAt(10 + t)[1], t < 4 ? 0.6f - acc : -0.2f) << t;
        acc = acc + 0.8f / 4.0f;
    }
    EXPECT_EQ(FrameAt(11)[0], 0.0f);
    EXPECT_FLOAT_EQ(FrameAt(13)[0], 0.4f);

    std::vector<float> forward(Wavetable, Wavetable + TableSamples);
    Command(CmdUndo);
    Morph(10, 14);
    EXPECT_TRUE(std::equal(forward.begin(), forward.end(), Wavetable));
    EXPECT_EQ(FrameAt(20)[0], 9.0f);
}

TEST(Morph, EqualOrAdjacentKnobsAndTheWaveformView) {
    FreshEditor();
    FillTableWithIndices();
    Morph(3, 4);
    Morph(12, 12);
    EXPECT_EQ(FrameAt(3)[9], 3009.0f);
    EXPECT_EQ(FrameAt(12)[9], 12009.0f);

    Command(CmdViewWaveform);
    UndoSnapshot[0] = 123.0f;
    Command(CmdMorph);
    ASSERT_EQ(HeadlessMessageBoxes.size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes[0].text, "Select wavetable view to morph from one waveform to another.");
    EXPECT_EQ(HeadlessMessageBoxes[0].caption, "QARNO Wavetable Editor");
    EXPECT_EQ(UndoSnapshot[0], 123.0f);
}

#include "tests/frame_content.h"

namespace {

// Keyframes 0 (a sine), 40 (the saw) and 99 (the square), every other frame silent.
void ThreeKeyframes() {
    FreshEditor();
    for (auto [frame, wave] : {std::pair{0, CmdSine}, {40, CmdSaw}, {99, CmdSquare}}) {
        CurrentFrame = frame;
        Command(wave);
    }
    Command(CmdViewWavetable);
}

bool Silent(int frame) {
    return std::all_of(FrameAt(frame), FrameAt(frame + 1), [](float s) { return s == 0.0f; });
}

} // namespace

// Over the whole table, knobs either way round: 1..39 and 41..98 are the fades between their
// keyframes, the keyframes keep their bits, and Undo takes it all back.
TEST(FillGaps, FillsTheRunsBetweenKeyframesOnly) {
    for (bool spectral : {false, true}) {
        for (auto [wave, offset] : {std::pair{0, 99}, std::pair{99, 0}}) {
            SCOPED_TRACE(testing::Message() << "spectral " << spectral << " knobs " << wave);
            ThreeKeyframes();
            const std::vector<float> before(Wavetable, Wavetable + TableSamples);
            CurrentFrame = wave;
            OffsetFrame = offset;
            Command(spectral ? CmdFillGapsSpectral : CmdFillGaps);
            const auto blend = spectral ? SpectralBlend : LinearBlend;
            for (int j = 0; j < FrameCount; ++j) {
                const int from = j < 40 ? 0 : 40;
                const int to = j < 40 ? 40 : 99;
                if (j == 0 || j == 40 || j == 99)
                    EXPECT_TRUE(std::equal(FrameAt(j), FrameAt(j + 1),
                                           before.begin() + j * SamplesPerFrame));
                else
                    EXPECT_TRUE(FrameNear(j,
                                          blend(FrameAt(from), FrameAt(to),
                                                static_cast<double>(j - from) / (to - from)),
                                          1e-5));
            }
            Command(CmdUndo);
            EXPECT_EQ(std::memcmp(before.data(), Wavetable, sizeof Wavetable), 0);
        }
    }
}

// Knobs on 0 and 60: 1..39 filled, the silence after the last keyframe in the range stays,
// and so does everything outside the range.
TEST(FillGaps, LeavesFramesAfterTheLastKeyframeAndOutsideTheRange) {
    ThreeKeyframes();
    const std::vector<float> square(FrameAt(99), FrameAt(100));
    CurrentFrame = 0;
    OffsetFrame = 60;
    Command(CmdFillGaps);
    EXPECT_FALSE(Silent(1));
    EXPECT_FALSE(Silent(39));
    for (int j = 41; j < 99; ++j) EXPECT_TRUE(Silent(j)) << "frame " << j;
    EXPECT_TRUE(std::equal(square.begin(), square.end(), FrameAt(99)));
}

// Knobs on 20 and 60 hold keyframe 40 alone, the Waveform view one frame: a message, and
// neither the table nor the undo snapshot changes.
TEST(FillGaps, WithOneKeyframeOnlySaysSo) {
    for (CommandId command : {CmdFillGaps, CmdFillGapsSpectral}) {
        for (int32_t view : {ViewWavetable, ViewWaveform}) {
            ThreeKeyframes();
            ViewMode = view;
            CurrentFrame = 40;
            OffsetFrame = 20;
            UndoSnapshot[5] = 123.0f;
            const std::vector<float> before(Wavetable, Wavetable + TableSamples);
            Command(command);
            EXPECT_EQ(std::memcmp(before.data(), Wavetable, sizeof Wavetable), 0);
            EXPECT_EQ(UndoSnapshot[5], 123.0f);
            ASSERT_EQ(HeadlessMessageBoxes.size(), 1u);
            EXPECT_EQ(HeadlessMessageBoxes[0].text,
                      "Fill Gaps needs two frames with sound in the range.");
            EXPECT_EQ(HeadlessMessageBoxes[0].caption, "QARNO Wavetable Maker");
        }
    }
}

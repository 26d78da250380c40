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

} // namespace

// Over the whole table, knobs either way round: 1..39 and 41..98 are the fades between their
// keyframes, the keyframes keep their bits, and Undo takes it all back.
TEST(FillGaps, FillsTheRunsBetweenKeyframesOnly) {
    for (bool spectral : {false, true}) {
        for (auto [wave, offset] : {std::pair{0, 99}, std::pair{99, 0}}) {
            SCOPED_TRACE(testing::Message() << "spectral " << spectral << " knobs " << wave);
            ThreeKeyframes();
            const TableCopy before = CopyOfTable();
            WavetableKnobs(wave, offset);
            Command(spectral ? CmdFillGapsSpectral : CmdFillGaps);
            const auto blend = spectral ? SpectralBlend : LinearBlend;
            for (int j = 0; j < FrameCount; ++j) {
                const int from = j < 40 ? 0 : 40;
                const int to = j < 40 ? 40 : 99;
                const double t = static_cast<double>(j - from) / (to - from);
                if (j == 0 || j == 40 || j == 99)
                    EXPECT_TRUE(FrameKept(before, j)) << j;
                else
                    EXPECT_TRUE(FrameNear(j, blend(FrameAt(from), FrameAt(to), t), 1e-5));
            }
            Command(CmdUndo);
            EXPECT_TRUE(TableKept(before));
        }
    }
}

// Knobs on 0 and 60: 1..39 filled, the silence after the last keyframe in the range stays,
// and so does everything outside the range.
TEST(FillGaps, LeavesFramesAfterTheLastKeyframeAndOutsideTheRange) {
    ThreeKeyframes();
    const TableCopy before = CopyOfTable();
    WavetableKnobs(0, 60);
    Command(CmdFillGaps);
    EXPECT_FALSE(Silent(1) || Silent(39));
    for (int j = 41; j < 99; ++j) EXPECT_TRUE(Silent(j)) << "frame " << j;
    EXPECT_TRUE(FrameKept(before, 99));
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
            const TableCopy before = CopyOfTable();
            Command(command);
            EXPECT_TRUE(TableKept(before));
            EXPECT_EQ(UndoSnapshot[5], 123.0f);
            ASSERT_EQ(HeadlessMessageBoxes.size(), 1u);
            EXPECT_EQ(HeadlessMessageBoxes[0].text,
                      "Fill Gaps needs two frames with sound in the range.");
            EXPECT_EQ(HeadlessMessageBoxes[0].caption, "QARNO Wavetable Maker");
        }
    }
}

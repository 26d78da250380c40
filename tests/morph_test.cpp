#include "tests/frame_content.h"

namespace {

// Keyframes 0 (a sine), 40 (the saw) and 99 (the square), every other frame silent.
void ThreeKeyframes() {
    for (auto [frame, wave] : {std::pair{0, CmdSine}, {40, CmdSaw}, {99, CmdSquare}}) {
        CurrentFrame = frame;
        Command(wave);
    }
}

using Blend = DoubleFrame (*)(const float* from, const float* to, double t);

} // namespace

// Each frame strictly between two neighbouring keys is their fade within 1e-5, every other frame
// keeps its bits (the silence after the last key in the range too), and Undo takes it all back.
// The spectral fades turn cosines to sines of other signs, the long way round up to 3/4 turn.
TEST(Fades, FillTheFramesBetweenTheirKeysOnly) {
    struct Case {
        void (*fill)();
        CommandId command;
        int wave, offset;
        std::vector<int> keys;
        Blend blend;
    };
    const Case cases[] = {
        {FillTableWithPartials, CmdSpectralMorph, 20, 31, {20, 31}, SpectralBlend},
        {FillTableWithPartials, CmdSpectralMorph, 31, 20, {20, 31}, SpectralBlend},
        {ThreeKeyframes, CmdFillGaps, 0, 99, {0, 40, 99}, LinearBlend},
        {ThreeKeyframes, CmdFillGaps, 99, 0, {0, 40, 99}, LinearBlend},
        {ThreeKeyframes, CmdFillGaps, 0, 60, {0, 40}, LinearBlend},
        {ThreeKeyframes, CmdFillGapsSpectral, 0, 99, {0, 40, 99}, SpectralBlend},
        {ThreeKeyframes, CmdFillGapsSpectral, 99, 0, {0, 40, 99}, SpectralBlend},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "command " << c.command << " knobs " << c.wave);
        FreshEditor();
        c.fill();
        const TableCopy before = CopyOfTable();
        WavetableKnobs(c.wave, c.offset);
        Command(c.command);
        for (int j = 0; j < FrameCount; ++j) {
            const auto to = std::upper_bound(c.keys.begin(), c.keys.end(), j);
            if (to == c.keys.begin() || to == c.keys.end() || to[-1] == j) {
                EXPECT_TRUE(FrameKept(before, j)) << "frame " << j;
                continue;
            }
            const double t = static_cast<double>(j - to[-1]) / (*to - to[-1]);
            EXPECT_TRUE(FrameNear(j, c.blend(FrameAt(to[-1]), FrameAt(*to), t), 1e-5));
        }
        Command(CmdUndo);
        EXPECT_TRUE(TableKept(before));
    }
}

// Sample 0 rises from 0 to 0.9 over frames 10..17, sample 1 falls from 0.3 to -0.4: frame 10 + t
// gets t steps of |a - b| / 7 added one by one; frame 17 and the linear index samples stay.
TEST(Morph, FadesByARunningSumInEitherKnobOrder) {
    const float rising[] = {0.0f,         0.128571421f, 0.257142842f, 0.385714263f,
                            0.514285684f, 0.642857075f, 0.771428466f, 0.9f};
    const float falling[] = {0.3f,          0.2f,          0.099999994f,  0.0f,
                             -0.100000024f, -0.200000048f, -0.300000072f, -0.4f};
    for (auto [wave, offset] : {std::pair{10, 17}, std::pair{17, 10}}) {
        FreshEditor();
        FillTableWithIndices();
        FrameAt(10)[0] = rising[0];
        FrameAt(17)[0] = rising[7];
        FrameAt(10)[1] = falling[0];
        FrameAt(17)[1] = falling[7];
        WavetableKnobs(wave, offset);
        Command(CmdMorph);
        for (int t = 0; t < 8; ++t) {
            EXPECT_EQ(FrameAt(10 + t)[0], rising[t]) << "frame " << 10 + t;
            EXPECT_EQ(FrameAt(10 + t)[1], falling[t]) << "frame " << 10 + t;
            FrameAt(10 + t)[0] = IndexValue(10 + t, 0);
            FrameAt(10 + t)[1] = IndexValue(10 + t, 1);
        }
        EXPECT_TRUE(TableHoldsIndicesOutside(1, 0));
        Command(CmdUndo); // the table before the morph
        EXPECT_EQ(FrameAt(17)[0], 0.9f);
    }
}

// Morphs outside the Wavetable view, and Fill Gaps with keyframe 40 alone between knobs 40 and
// 20 or in the Waveform view: a message, and neither the table nor the undo snapshot changes.
TEST(Fades, RefusedWithAMessageAndNoUndoStep) {
    const std::string needsTable = "Select wavetable view to morph from one waveform to another.";
    const std::string needsTwo = "Fill Gaps needs two frames with sound in the range.";
    const std::tuple<CommandId, int32_t, std::string, std::string> cases[] = {
        {CmdMorph, ViewWaveform, needsTable, "QARNO Wavetable Editor"},
        {CmdSpectralMorph, ViewWaveform, needsTable, "QARNO Wavetable Editor"},
        {CmdFillGaps, ViewWavetable, needsTwo, "QARNO Wavetable Maker"},
        {CmdFillGaps, ViewWaveform, needsTwo, "QARNO Wavetable Maker"},
        {CmdFillGapsSpectral, ViewWavetable, needsTwo, "QARNO Wavetable Maker"},
        {CmdFillGapsSpectral, ViewWaveform, needsTwo, "QARNO Wavetable Maker"},
    };
    for (const auto& [command, view, text, caption] : cases) {
        SCOPED_TRACE(testing::Message() << "command " << command << " in view " << view);
        FreshEditor();
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
        EXPECT_EQ(HeadlessMessageBoxes[0].text, text);
        EXPECT_EQ(HeadlessMessageBoxes[0].caption, caption);
    }
}

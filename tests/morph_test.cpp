#include "tests/test_support.h"

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
        Command(CmdViewWavetable);
        CurrentFrame = wave;
        OffsetFrame = offset;
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

// Morph and Spectral Morph alike: a message, and neither the table nor the undo snapshot changes.
TEST(Morph, InTheWaveformViewOnlyAsksForTheWavetableView) {
    for (CommandId command : {CmdMorph, CmdSpectralMorph}) {
        FreshEditor();
        FillTableWithIndices();
        UndoSnapshot[0] = 123.0f;
        Command(command);
        ASSERT_EQ(HeadlessMessageBoxes.size(), 1u);
        EXPECT_EQ(HeadlessMessageBoxes[0].text,
                  "Select wavetable view to morph from one waveform to another.");
        EXPECT_EQ(HeadlessMessageBoxes[0].caption, "QARNO Wavetable Editor");
        EXPECT_EQ(UndoSnapshot[0], 123.0f);
        EXPECT_TRUE(TableHoldsIndicesOutside(1, 0)) << command;
    }
}

#include "core/sample_ops.h"
#include "tests/test_support.h"

TEST(Generators, WorkedValuesOfEachWave) {
    FreshEditor();
    for (auto [command, n, value] : {std::tuple{CmdSaw, 2, -0.4614f},
                                     {CmdSaw, 1022, 0.4616f},
                                     {CmdRamp, 2, 0.4614f},
                                     {CmdTriangle, 256, -0.30794f},
                                     {CmdSquare, 2, -0.3704f}}) {
        Command(command);
        EXPECT_NEAR(FrameAt(0)[n], value, 1e-3f) << command << " sample " << n;
    }
}

// On the index table: the whole Wave frame in the Waveform view, every frame between the knobs
// in the Wavetable view, all alike but Random's; one Undo takes the table back.
TEST(Generators, WriteTheirFramesOnlyAndUndoInOneStep) {
    for (uint16_t command : {CmdSine, CmdSaw, CmdRamp, CmdTriangle, CmdSquare, CmdRandom}) {
        SCOPED_TRACE(testing::Message() << "command " << command);
        FreshEditor();
        FillTableWithIndices();
        CurrentFrame = 7;
        Command(command);
        EXPECT_TRUE(TableHoldsIndicesOutside(7, 7));
        EXPECT_NE(FrameAt(7)[1023], IndexValue(7, 1023));
        Command(CmdViewWavetable);
        CurrentFrame = 10;
        OffsetFrame = 3;
        Command(command);
        EXPECT_TRUE(TableHoldsIndicesOutside(3, 10));
        EXPECT_NE(FrameAt(10)[1023], IndexValue(10, 1023));
        EXPECT_EQ(std::equal(FrameAt(3), FrameAt(4), FrameAt(10)), command != CmdRandom);
        Command(CmdUndo);
        EXPECT_TRUE(TableHoldsIndicesOutside(7, 7));
    }
}

// A NaN is never the peak and becomes 0, a peak below 0.00001 counts as 0.00001; in a run that
// Amplify drove to infinity each infinity becomes the peak with its sign, the rest 0.
TEST(PeakNormalize, IgnoresNaNHasAFloorAndTakesInfinitiesAsThePeak) {
    std::vector<float> faint = {0.000001f, NAN};
    PeakNormalize(faint.data(), 2);
    EXPECT_NEAR(faint[0], 0.0354f, 1e-4f);
    EXPECT_EQ(faint[1], 0.0f);
    std::vector<float> samples = {INFINITY, 3.0f, -INFINITY, NAN};
    PeakNormalize(samples.data(), 4);
    EXPECT_EQ(samples, (std::vector<float>{0.35355678f, 0.0f, -0.35355678f, 0.0f}));
}

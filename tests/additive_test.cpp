#include "synth/additive.h"
#include "synth/generators.h"
#include "tests/reference/literal_synth.h"
#include "tests/test_support.h"

static std::vector<float> Frame() { return {AdditiveFrame, AdditiveFrame + SamplesPerFrame}; }

// The default levels give the sine's very samples, Negative turns them over and Copy gives them
// to the Waveform view; harmonics 1..4 each start at the phase where the last one ended.
TEST(SynthesizeAdditive, WorkedFrames) {
    FreshEditor();
    GenerateSine();
    Command(CmdViewAdditive);
    EXPECT_TRUE(std::equal(AdditiveFrame, AdditiveFrame + SamplesPerFrame, FrameAt(0)));
    Command(CmdNegative);
    EXPECT_EQ(AdditiveFrame[256], -FrameAt(0)[256]);
    Command(CmdCopy);
    Command(CmdViewWaveform);
    Command(CmdPaste);
    EXPECT_TRUE(std::equal(AdditiveFrame, AdditiveFrame + SamplesPerFrame, FrameAt(0)));
    Polarity = 1;
    std::fill_n(Harmonics, 4, FullLevel);
    SynthesizeAdditive();
    EXPECT_NEAR(AdditiveFrame[0], -0.00194f, 1e-5f);
    EXPECT_NEAR(AdditiveFrame[100], -0.33835f, 1e-5f);
}

TEST(SynthesizeAdditive, SameBitsAsTheLiteralLoop) {
    for (const Levels& levels : LevelSets()) {
        for (int32_t polarity : {0, 1}) {
            std::copy(levels.begin(), levels.end(), Harmonics);
            Polarity = polarity;
            LiteralSynthesizeAdditive();
            const std::vector<float> literal = Frame();
            SynthesizeAdditive();
            ASSERT_EQ(std::memcmp(AdditiveFrame, literal.data(), sizeof AdditiveFrame), 0)
                << levels[2] << " " << polarity;
        }
    }
}

// Each edit from the levels {before, before2, 102, 103, ... 131} with {0, INT_MAX} saved: the two
// leading levels after it, the first saved one after it, and the frame of the new levels.
TEST(AdditiveEdits, WorkedLevelsSavedLevelsAndFrame) {
    struct Edit {
        uint16_t command;
        int32_t before, before2, after, after2, saved;
    };
    const Edit edits[] = {{CmdAmplify, 100, 10, 100, 0, 100},
                          {CmdAmplify, 150, -7, 100, 0, 150},
                          {CmdAttenuate, 95, -7, 100, 3, 95},
                          {CmdAmplify, INT_MIN, INT_MAX, 0, 100, INT_MIN},
                          {CmdInvert, 0, 30, 100, 70, 0},
                          {CmdInvert, 100, 70, 100, 30, 100},
                          {CmdInvert, 150, INT_MAX, 150, INT_MAX, 150},
                          {CmdInvert, INT_MIN, -1, INT_MAX, 101, INT_MIN},
                          {CmdReverse, 5, 7, 131, 130, 5},
                          {CmdPasteMix, 55, INT_MAX, 27, INT_MAX, 0},
                          {CmdPasteMix, -5, 0, -2, INT_MAX / 2, 0},
                          {CmdPaste, 40, 50, 0, INT_MAX, 0},
                          {CmdUndo, 40, 50, 0, INT_MAX, 0},
                          {CmdCopy, 40, 50, 40, 50, 40},
                          {CmdCut, 40, 50, 0, 100, 0},
                          {CmdClear, 40, 50, 0, 100, 0}};
    FreshEditor();
    Command(CmdViewAdditive);
    for (const Edit& e : edits) {
        SCOPED_TRACE(testing::Message() << "command " << e.command << " from " << e.before);
        for (int i = 0; i < HarmonicCount; ++i) Harmonics[i] = SilentLevel + i;
        Harmonics[0] = e.before;
        Harmonics[1] = e.before2;
        SynthesizeAdditive();
        HarmonicSnapshot[0] = 0;
        HarmonicSnapshot[1] = INT_MAX;
        Command(e.command);
        EXPECT_EQ(Levels(Harmonics, Harmonics + 2), (Levels{e.after, e.after2}));
        EXPECT_EQ(HarmonicSnapshot[0], e.saved);
        const std::vector<float> shown = Frame();
        SynthesizeAdditive();
        EXPECT_EQ(Frame(), shown);
    }
}

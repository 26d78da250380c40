#include "tests/frame_content.h"

namespace {

// The bin magnitudes of a frame in amplitude units (a sine of level a has a at its bin).
std::vector<double> Magnitudes(int frame) {
    const DoubleSpectrum bins = DoubleDft(ToDouble(FrameAt(frame), SamplesPerFrame), 513);
    std::vector<double> levels;
    for (const auto& bin : bins) levels.push_back(2.0 * std::abs(bin) / SamplesPerFrame);
    return levels;
}

} // namespace

// From cosines to sines of other signs, whose phases lie up to three quarter turns apart the long
// way round: frames 20 and 31 keep their bits, 21..30 are the spectral fade at t = (j - 20) / 11,
// the rest stays; Undo brings the table back bit for bit; the knobs may stand either way round.
TEST(SpectralMorph, FadesMagnitudesAndPhasesBetweenTheKnobFrames) {
    for (auto [wave, offset] : {std::pair{20, 31}, std::pair{31, 20}}) {
        FreshEditor();
        FillTableWithPartials();
        const std::vector<float> before(Wavetable, Wavetable + TableSamples);
        Command(CmdViewWavetable);
        CurrentFrame = wave;
        OffsetFrame = offset;
        Command(CmdSpectralMorph);
        for (int j = 0; j < FrameCount; ++j) {
            const float* old = before.data() + j * SamplesPerFrame;
            if (j > 20 && j < 31)
                EXPECT_TRUE(
                    FrameNear(j, SpectralBlend(FrameAt(20), FrameAt(31), (j - 20) / 11.0), 1e-5));
            else
                EXPECT_TRUE(std::equal(old, old + SamplesPerFrame, FrameAt(j))) << "frame " << j;
        }
        Command(CmdUndo);
        EXPECT_EQ(std::memcmp(before.data(), Wavetable, sizeof Wavetable), 0);
    }
}

// A sine into the same sine inverted: each frame between is a sine of the same level, where
// the straight crossfade passes through silence.
TEST(SpectralMorph, KeepsTheLevelOfASineTurningIntoItsInverse) {
    FreshEditor();
    for (int n = 0; n < SamplesPerFrame; ++n) {
        FrameAt(0)[n] = static_cast<float>(0.35 * std::sin(2.0 * M_PI * n / SamplesPerFrame));
        FrameAt(10)[n] = -FrameAt(0)[n];
    }
    Command(CmdViewWavetable);
    OffsetFrame = 10;
    Command(CmdSpectralMorph);
    for (int j = 1; j < 10; ++j) {
        const std::vector<double> levels = Magnitudes(j);
        EXPECT_NEAR(levels[1], 0.35, 1e-5) << "frame " << j;
        EXPECT_NEAR(*std::max_element(FrameAt(j), FrameAt(j + 1)), 0.35, 1e-5) << "frame " << j;
    }
}

// Halfway from the program's saw to its square every bin has the mean of their magnitudes.
TEST(SpectralMorph, HalfwayMagnitudesAreTheMeans) {
    FreshEditor();
    CurrentFrame = 10;
    Command(CmdSaw);
    CurrentFrame = 20;
    Command(CmdSquare);
    Command(CmdViewWavetable);
    OffsetFrame = 10;
    Command(CmdSpectralMorph);
    const std::vector<double> saw = Magnitudes(10);
    const std::vector<double> square = Magnitudes(20);
    const std::vector<double> halfway = Magnitudes(15);
    for (int k = 0; k < 513; ++k) EXPECT_NEAR(halfway[k], (saw[k] + square[k]) / 2, 1e-6) << k;
}

TEST(SpectralMorph, InTheWaveformViewOnlyAsksForTheWavetableView) {
    FreshEditor();
    FillTableWithIndices();
    UndoSnapshot[0] = 123.0f;
    Command(CmdSpectralMorph);
    ASSERT_EQ(HeadlessMessageBoxes.size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes[0].text,
              "Select wavetable view to morph from one waveform to another.");
    EXPECT_EQ(HeadlessMessageBoxes[0].caption, "QARNO Wavetable Editor");
    EXPECT_EQ(UndoSnapshot[0], 123.0f);
    EXPECT_TRUE(TableHoldsIndicesOutside(1, 0));
}

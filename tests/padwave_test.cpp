#include "core/random.h"
#include "synth/fft.h"
#include "synth/padwave.h"
#include "tests/reference/literal_synth.h"
#include "tests/test_support.h"

// Generates from `position` of the random sequence: the pad's bits, and the position after.
template <typename Generate>
static std::pair<std::vector<uint32_t>, uint32_t> PadFrom(uint32_t position, Generate generate) {
    SetRandomPosition(position);
    generate();
    std::vector<uint32_t> bits(PadwaveSamples);
    std::memcpy(bits.data(), PadwaveBuffer, sizeof PadwaveBuffer);
    return {bits, RandomPosition()};
}

// 3.83572745 is the last offset whose square is within the cut-off 14.712806, the next float not.
TEST(PadwaveProfile, GaussianOverTheBandwidthWithItsCutOff) {
    EXPECT_EQ(PadwaveProfile(0.0f, 0.5f), 2.0f);
    EXPECT_EQ(PadwaveProfile(-0.25f, 0.5f), static_cast<float>(std::exp(-0.25)) * 2.0f);
    EXPECT_GT(PadwaveProfile(3.83572745f, 1.0f), 0.0f);
    EXPECT_EQ(PadwaveProfile(-3.83572769f, 1.0f), 0.0f);
}

// After New only harmonic 1 sounds: 440 Hz, bin 1308 of 131072 at 44100 Hz.
TEST(GeneratePadwave, AfterNewPeaksAtTheFirstHarmonic) {
    FreshEditor();
    GeneratePadwave(PadwaveValue);
    std::vector<std::complex<float>> pad(PadwaveBuffer, PadwaveBuffer + PadwaveSamples);
    ComplexFft(reinterpret_cast<float*>(pad.data()), PadwaveSamples, -1);
    const auto peak = std::max_element(pad.begin() + 1, pad.begin() + PadwaveSamples / 2,
                                       [](auto a, auto b) { return std::abs(a) < std::abs(b); });
    EXPECT_NEAR(peak - pad.begin(), 1308, 12);
}

// x10 on at 8, then off again at 0: Generate draws at 80 cents, then at the floor of 1 cent.
TEST(GeneratePadwave, CommandTakesTheKnobTimesTenWithAFloorOfOneCent) {
    FreshEditor();
    Command(CmdViewPadwave);
    for (const std::pair<int32_t, int32_t>& knobAndCents : {std::pair{8, 80}, std::pair{0, 1}}) {
        PadwaveValue = knobAndCents.first;
        Command(CmdTimes10);
        const int32_t cents = knobAndCents.second;
        EXPECT_EQ(PadFrom(7, [] { Command(CmdGenerate); }),
                  PadFrom(7, [&] { GeneratePadwave(cents); }));
    }
}

// The same bits and n / 2 draws as the literal steps, from positions other than New's.
TEST(GeneratePadwave, SameBitsAndDrawsAsTheLiteralSteps) {
    for (const Levels& levels : LevelSets()) {
        std::copy(levels.begin(), levels.end(), Harmonics);
        for (int32_t cents : {8, 80, 990})
            EXPECT_EQ(PadFrom(cents, [&] { GeneratePadwave(cents); }),
                      PadFrom(cents, [&] { LiteralGeneratePadwave(cents); }))
                << levels[2] << " " << cents;
    }
}

// The largest positive sample becomes 1/3; with none, or a tiny one, silence.
TEST(NormalizePadwave, LargestPositiveSampleBecomesAThirdElseSilence) {
    for (auto [a, b, scaledA, scaledB] : {std::array{0.6f, -0.9f, 1.0f / 3.0f, -0.5f},
                                          {-0.25f, 0.0f, 0.0f, 0.0f},
                                          {1e-45f, 0.0f, 0.0f, 0.0f}}) {
        std::fill(std::begin(PadwaveBuffer), std::end(PadwaveBuffer), 0.0f);
        PadwaveBuffer[10] = a;
        PadwaveBuffer[20] = b;
        NormalizePadwave(PadwaveSamples);
        EXPECT_FLOAT_EQ(PadwaveBuffer[10], scaledA) << a;
        EXPECT_FLOAT_EQ(PadwaveBuffer[20], scaledB) << a;
    }
}

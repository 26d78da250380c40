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

// Either sign, many magnitudes and zeros of both signs, at sizes below and above the two-thread
// size, and 2^13 and 2^15, whose stage count falls one short.
TEST(ComplexFft, SameBitsAsTheLiteralTransform) {
    for (int32_t nn : {2, 4, 64, 4096, 8192, 32768, 131072}) {
        for (int32_t direction : {-1, 1}) {
            std::vector<std::complex<float>> fast(nn);
            for (int32_t t = 0; t < nn; ++t)
                fast[t] = {std::ldexp(3.0f - t % 7, t % 9),
                           t % 5 == 0 ? -0.0f : std::sin(static_cast<float>(t))};
            std::vector<std::complex<float>> literal = fast;
            ComplexFft(reinterpret_cast<float*>(fast.data()), nn, direction);
            LiteralComplexFft(reinterpret_cast<float*>(literal.data()), nn, direction);
            ASSERT_EQ(std::memcmp(fast.data(), literal.data(), nn * sizeof fast[0]), 0)
                << nn << " " << direction;
        }
    }
}

// 3.83572745 is the last offset whose square is within the cut-off 14.712806, the next float not.
TEST(PadwaveProfile, GaussianOverTheBandwidthWithItsCutOff) {
    EXPECT_EQ(PadwaveProfile(0.0f, 0.5f), 2.0f);
    EXPECT_EQ(PadwaveProfile(-0.25f, 0.5f), static_cast<float>(std::exp(-0.25)) * 2.0f);
    EXPECT_GT(PadwaveProfile(3.83572745f, 1.0f), 0.0f);
    EXPECT_EQ(PadwaveProfile(-3.83572769f, 1.0f), 0.0f);
}

// The same bits and n / 2 draws as the literal steps, from positions other than New's; the
// command takes the knob, x10 on at 8 (80 cents), off at 0 (the floor of 1 cent).
TEST(GeneratePadwave, SameBitsAndDrawsAsTheLiteralSteps) {
    for (const Levels& levels : LevelSets()) {
        std::copy(levels.begin(), levels.end(), Harmonics);
        for (int32_t cents : {8, 80, 990})
            EXPECT_EQ(PadFrom(cents, [&] { GeneratePadwave(cents); }),
                      PadFrom(cents, [&] { LiteralGeneratePadwave(cents); }))
                << levels[2] << " " << cents;
    }
    FreshEditor();
    Command(CmdViewPadwave);
    for (auto [knob, cents] : {std::pair{8, 80}, std::pair{0, 1}}) {
        PadwaveValue = knob;
        Command(CmdTimes10);
        EXPECT_EQ(PadFrom(7, [] { Command(CmdGenerate); }),
                  PadFrom(7, [c = cents] { LiteralGeneratePadwave(c); }));
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

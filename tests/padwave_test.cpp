#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <complex>
#include <cstring>
#include <utility>
#include <vector>

#include "core/command_ids.h"
#include "core/random.h"
#include "synth/fft.h"
#include "synth/padwave.h"
#include "tests/reference/literal_synth.h"
#include "tests/test_support.h"

namespace {

using Levels = std::vector<int32_t>;
using Pad = std::pair<std::vector<uint32_t>, uint32_t>;

// Generates from `position` of the random sequence: the pad's bits, the position after.
template <typename Generate>
Pad PadFrom(uint32_t position, Generate generate) {
    SetRandomPosition(position);
    generate();
    std::vector<uint32_t> bits(PadwaveSamples);
    std::memcpy(bits.data(), PadwaveBuffer, sizeof PadwaveBuffer);
    return {bits, RandomPosition()};
}

Pad PadFromCommand() {
    return PadFrom(1, [] { Command(CmdGenerate); });
}

}  // namespace

TEST(PadwaveProfile, GaussianOverTheBandwidthWithItsCutOff) {
    EXPECT_EQ(PadwaveProfile(0.0f, 0.5f), 2.0f);
    EXPECT_EQ(PadwaveProfile(-0.25f, 0.5f), static_cast<float>(std::exp(-0.25)) * 2.0f);
    // The last offset whose squared argument is within the cut-off still counts.
    float edge = std::sqrt(14.712806f);
    while (edge * edge > 14.712806f) edge = std::nextafter(edge, 0.0f);
    const float beyond = std::nextafter(edge, 10.0f);
    ASSERT_GT(beyond * beyond, 14.712806f);
    EXPECT_GT(PadwaveProfile(edge, 1.0f), 0.0f);
    EXPECT_EQ(PadwaveProfile(-beyond, 1.0f), 0.0f);
}

TEST(GeneratePadwave, AfterNewASeamlessLoopPeakingAtTheFirstHarmonic) {
    FreshEditor();
    Command(CmdViewPadwave);
    Command(CmdGenerate);
    EXPECT_FLOAT_EQ(*std::max_element(PadwaveBuffer, PadwaveBuffer + PadwaveSamples), 1.0f / 3.0f);
    // One period: the wrap from the last sample to the first is no larger than the largest step.
    std::vector<std::complex<float>> pad(PadwaveBuffer, PadwaveBuffer + PadwaveSamples);
    float step = 0.0f;
    for (int k = 1; k < PadwaveSamples; ++k) step = std::max(step, std::abs(pad[k] - pad[k - 1]));
    EXPECT_LE(std::abs(pad[0] - pad.back()), step);
    ComplexFft(reinterpret_cast<float*>(pad.data()), PadwaveSamples, -1);
    const auto peak = std::max_element(pad.begin() + 1, pad.begin() + PadwaveSamples / 2,
                                       [](auto a, auto b) { return std::abs(a) < std::abs(b); });
    EXPECT_NEAR(peak - pad.begin(), 1308, 12);
}

TEST(GeneratePadwave, CommandDrawsFromTheRandomSequenceAtTheKnobsBandwidth) {
    FreshEditor();
    Command(CmdViewPadwave);
    const Pad first = PadFromCommand();
    Harmonics[31] = 0;  // harmonic 32 has no amplitude slot
    EXPECT_EQ(PadFromCommand(), first);
    EXPECT_NE(PadFrom(RandomPosition(), [] { Command(CmdGenerate); }).first, first.first);
    // x10 on at 8, then off again at 0: 80 cents, then the floor of 1 cent.
    for (const auto& c : {std::pair{8, 80}, std::pair{0, 1}}) {
        PadwaveValue = c.first;
        Command(CmdTimes10);
        EXPECT_EQ(PadFromCommand(), PadFrom(1, [&] { GeneratePadwave(c.second); }));
    }
}

// The same bits and n / 2 draws as the literal steps: default levels, all
// full, a spread with silent and negative ones, the same with loaded
// extremes, and none sounding: silence, never NaN or infinity.
TEST(GeneratePadwave, SameBitsAndDrawsAsTheLiteralSteps) {
    FreshEditor();
    const Levels defaults(Harmonics, Harmonics + HarmonicCount);
    Levels spread(HarmonicCount);
    for (int i = 0; i < HarmonicCount; ++i) spread[i] = i * 41 % 130 - 10;
    Levels extremes = spread;
    extremes[2] = INT_MIN;
    extremes[9] = INT_MAX;
    for (const Levels& levels : {defaults, Levels(HarmonicCount, 0), spread, extremes, Levels(HarmonicCount, 100)}) {
        std::copy(levels.begin(), levels.end(), Harmonics);
        for (int32_t cents : {8, 80, 990})
            EXPECT_EQ(PadFrom(1, [&] { GeneratePadwave(cents); }),
                      PadFrom(1, [&] { LiteralGeneratePadwave(cents); })) << levels[2] << " " << cents;
    }
    for (float s : PadwaveBuffer) ASSERT_EQ(s, 0.0f);
}

// The largest positive sample becomes 1/3; with none, or a tiny one, silence.
TEST(NormalizePadwave, LargestPositiveSampleBecomesAThirdElseSilence) {
    const float cases[][4] = {{0.6f, -0.9f, 1.0f / 3.0f, -0.5f}, {-0.25f, 0, 0, 0}, {1e-45f, 0, 0, 0}};
    for (const auto& c : cases) {
        std::fill(std::begin(PadwaveBuffer), std::end(PadwaveBuffer), 0.0f);
        PadwaveBuffer[10] = c[0];
        PadwaveBuffer[20] = c[1];
        NormalizePadwave(PadwaveSamples);
        EXPECT_FLOAT_EQ(PadwaveBuffer[10], c[2]) << c[0];
        EXPECT_FLOAT_EQ(PadwaveBuffer[20], c[3]) << c[0];
    }
}

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <complex>
#include <cstring>
#include <utility>
#include <vector>

#include "bench/literal_synth.h"
#include "core/command_ids.h"
#include "core/random.h"
#include "synth/padwave.h"
#include "tests/test_support.h"

namespace {

using Spectrum = std::vector<std::complex<float>>;
using Exact = std::complex<double>;
float* Floats(Spectrum& s) { return reinterpret_cast<float*>(s.data()); }

// Generates from `position` of the random sequence: the pad's bits, the position after.
template <typename Generate>
std::pair<std::vector<uint32_t>, uint32_t> PadFrom(uint32_t position, Generate generate) {
    SetRandomPosition(position);
    generate();
    std::vector<uint32_t> bits(PadwaveSamples);
    std::memcpy(bits.data(), PadwaveBuffer, sizeof PadwaveBuffer);
    return {bits, RandomPosition()};
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

TEST(ComplexFft, UnitImpulseLiteralTransformAndDoubleDft) {
    for (int32_t direction : {1, -1}) {  // an impulse at 1 becomes e^(+-2 pi i k / 8)
        Spectrum data = {0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
        ComplexFft(Floats(data), 8, direction);
        for (int k = 0; k < 8; ++k)
            EXPECT_LT(std::abs(Exact(data[k]) - std::polar(1.0, direction * M_PI * k / 4)), 1e-6);
    }
    for (int32_t nn : {2, 4, 64, 4096, 131072}) {
        for (int32_t direction : {-1, 1}) {
            Spectrum input(nn);  // either sign, many magnitudes, zeros of both signs
            for (int32_t t = 0; t < nn; ++t)
                input[t] = {std::ldexp(3.0f - t % 7, t % 9), t % 5 ? std::sin(t * 1.0f) : -0.0f};
            Spectrum fast = input, literal = input;
            ComplexFft(Floats(fast), nn, direction);
            LiteralComplexFft(Floats(literal), nn, direction);
            ASSERT_EQ(std::memcmp(fast.data(), literal.data(), nn * sizeof input[0]), 0) << nn;
            if (nn < 131072 || direction < 0) continue;
            // A wrong twiddle or permutation errs by the order of the signal's norm.
            double norm = 0.0;
            for (auto v : input) norm += std::norm(Exact(v));
            for (int64_t k : {0, 1, 1308, 65536, 131071}) {
                Exact sum = 0.0;
                for (int64_t t = 0; t < nn; ++t)
                    sum += Exact(input[t]) * std::polar(1.0, 2 * M_PI * (t * k % nn) / nn);
                EXPECT_LT(std::abs(Exact(fast[k]) - sum), 5e-4 * std::sqrt(norm)) << k;
            }
        }
    }
}

TEST(GeneratePadwave, AfterNewThenItsSettingsTheLiteralStepsAndSilence) {
    FreshEditor();
    Command(CmdViewPadwave);
    const auto generate = [] { Command(CmdGenerate); };
    const auto first = PadFrom(1, generate);
    EXPECT_FLOAT_EQ(*std::max_element(PadwaveBuffer, PadwaveBuffer + PadwaveSamples), 1.0f / 3.0f);
    // One period: the wrap from the last sample to the first is no larger than the largest step.
    Spectrum pad(PadwaveBuffer, PadwaveBuffer + PadwaveSamples);
    float step = 0.0f;
    for (int k = 1; k < PadwaveSamples; ++k) step = std::max(step, std::abs(pad[k] - pad[k - 1]));
    EXPECT_LE(std::abs(pad[0] - pad.back()), step);
    ComplexFft(Floats(pad), PadwaveSamples, -1);
    const auto peak = std::max_element(pad.begin() + 1, pad.begin() + PadwaveSamples / 2,
                                       [](auto a, auto b) { return std::abs(a) < std::abs(b); });
    EXPECT_NEAR(peak - pad.begin(), 1308, 12);

    Harmonics[31] = 0;  // harmonic 32 has no amplitude slot
    EXPECT_EQ(PadFrom(1, generate), first);
    EXPECT_NE(PadFrom(RandomPosition(), generate).first, first.first);
    // x10 on at 8, then off again at 0: 80 cents, then the floor of 1 cent.
    for (const auto& c : {std::pair{8, 80}, std::pair{0, 1}}) {
        PadwaveValue = c.first;
        Command(CmdTimes10);
        EXPECT_EQ(PadFrom(1, generate), PadFrom(1, [&] { GeneratePadwave(c.second); }));
    }

    // The same bits and n / 2 draws as the literal steps: default levels, all
    // full, a spread with silent and negative ones, the same with loaded
    // extremes, and none sounding: silence, never NaN or infinity.
    for (int set = 0; set < 5; ++set) {
        for (int i = 0; set > 0 && i < HarmonicCount; ++i)
            Harmonics[i] = set == 1 ? 0 : set == 4 ? 100 : i * 41 % 130 - 10;
        if (set == 3) Harmonics[2] = INT_MIN, Harmonics[9] = INT_MAX;
        for (int32_t cents : {8, 80, 990})
            EXPECT_EQ(PadFrom(1, [&] { GeneratePadwave(cents); }),
                      PadFrom(1, [&] { LiteralGeneratePadwave(cents); })) << set << " " << cents;
    }
    for (float s : PadwaveBuffer) ASSERT_EQ(s, 0.0f);

    // The largest positive sample becomes 1/3; with none, or a tiny one, silence.
    const float normalize[][4] = {
        {0.6f, -0.9f, 1.0f / 3.0f, -0.5f}, {-0.25f, 0, 0, 0}, {1e-45f, 0, 0, 0}};
    for (const auto& c : normalize) {
        PadwaveBuffer[10] = c[0], PadwaveBuffer[20] = c[1];
        NormalizePadwave(PadwaveSamples);
        EXPECT_FLOAT_EQ(PadwaveBuffer[10], c[2]) << c[0];
        EXPECT_FLOAT_EQ(PadwaveBuffer[20], c[3]) << c[0];
    }
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <limits>
#include <vector>

#include "core/command_ids.h"
#include "core/random.h"
#include "synth/padwave.h"
#include "bench/literal_synth.h"
#include "tests/test_support.h"

namespace {

std::vector<float> Pad() { return {PadwaveBuffer, PadwaveBuffer + PadwaveSamples}; }

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), sizeof(float) * a.size()) == 0;
}

// Values of either sign and of many magnitudes, zeros of both signs included.
std::vector<float> TestSignal(int32_t count) {
    std::vector<float> data(count);
    for (int32_t i = 0; i < count; ++i) {
        const int r = NextRandom();
        data[i] = r % 97 == 0 ? (r % 2 ? -0.0f : 0.0f) : static_cast<float>(r - 16384) * std::ldexp(1.0f, -(r % 20));
    }
    return data;
}

// Generates with the program and with the literal steps from the same point of
// the random sequence and expects the same bits.
void ExpectLiteralPad(int32_t cents) {
    const uint32_t position = RandomPosition();
    GeneratePadwave(cents);
    const std::vector<float> fast = Pad();
    const uint32_t after = RandomPosition();
    SetRandomPosition(position);
    LiteralGeneratePadwave(cents);
    EXPECT_EQ(RandomPosition(), after);
    EXPECT_TRUE(SameBits(fast, Pad())) << cents << " cents, level 1 = " << Harmonics[0];
}

}  // namespace

TEST(ComplexFft, UnitImpulseAndBothDirections) {
    for (int32_t direction : {1, -1}) {
        float data[16] = {};
        data[2] = 1.0f;
        ComplexFft(data, 8, direction);
        for (int k = 0; k < 8; ++k) {
            const double angle = direction * 2.0 * M_PI * k / 8.0;
            EXPECT_NEAR(data[2 * k], std::cos(angle), 1e-6) << k;
            EXPECT_NEAR(data[2 * k + 1], std::sin(angle), 1e-6) << k;
        }
    }
}

TEST(ComplexFft, MatchesTheLiteralTransformAndADoubleDft) {
    for (int32_t nn : {2, 4, 64, 1024, 4096, 16384, 131072}) {
        for (int32_t direction : {1, -1}) {
            std::vector<float> fast = TestSignal(2 * nn);
            std::vector<float> literal = fast;
            ComplexFft(fast.data(), nn, direction);
            LiteralComplexFft(literal.data(), nn, direction);
            ASSERT_TRUE(SameBits(fast, literal)) << nn << " " << direction;
        }
    }

    const int32_t nn = 131072;
    std::vector<float> data(2 * nn);
    for (float& v : data) v = static_cast<float>(NextRandom()) / 32767.0f - 0.5f;
    const std::vector<float> input = data;
    ComplexFft(data.data(), nn, 1);
    // Rounding grows with the length and with the rotated twiddles; a wrong
    // twiddle or permutation errs by the order of the signal's norm.
    double norm = 0.0;
    for (float v : input) norm += static_cast<double>(v) * v;
    const double tolerance = 5e-4 * std::sqrt(norm);
    for (int32_t k : {0, 1, 1308, 65536, 131071}) {
        std::complex<double> sum = 0.0;
        for (int32_t t = 0; t < nn; ++t) {
            const double angle = 2.0 * M_PI * static_cast<double>((static_cast<int64_t>(t) * k) % nn) / nn;
            sum += std::complex<double>(input[2 * t], input[2 * t + 1]) * std::polar(1.0, angle);
        }
        EXPECT_NEAR(data[2 * k], sum.real(), tolerance) << k;
        EXPECT_NEAR(data[2 * k + 1], sum.imag(), tolerance) << k;
    }
}

TEST(PadwaveSpectrumBin, EveryPhaseMatchesCosAndSinIncludingTheSignOfZero) {
    const int32_t count = RandomMax + 1;
    for (float amp : {0.0f, 0.37f, 12345.6f}) {
        std::vector<float> spectrum(2 * count);
        std::vector<float> literal(2 * count);
        for (int32_t r = 0; r < count; ++r) {
            const float phase = 6.2831855f * static_cast<float>(r) / 32767.0f;
            PadwaveSpectrumBin(amp, phase, &spectrum[2 * r]);
            literal[2 * r] = static_cast<float>(std::cos(static_cast<double>(phase))) * amp;
            literal[2 * r + 1] = static_cast<float>(std::sin(static_cast<double>(phase))) * amp;
        }
        ASSERT_TRUE(SameBits(spectrum, literal)) << amp;
    }
}

TEST(PadwaveProfile, GaussianCutOffAtTheSquaredArgument) {
    EXPECT_FLOAT_EQ(PadwaveProfile(0.0f, 0.25f), 4.0f);
    EXPECT_FLOAT_EQ(PadwaveProfile(0.25f, 0.25f), static_cast<float>(std::exp(-1.0)) * 4.0f);
    EXPECT_EQ(PadwaveProfile(-0.5f, 0.25f), PadwaveProfile(0.5f, 0.25f));
    // x = 3.8357 is just inside the cut-off of 14.712806, 3.8358 just outside.
    EXPECT_GT(PadwaveProfile(3.8357f, 1.0f), 0.0f);
    EXPECT_EQ(PadwaveProfile(3.8358f, 1.0f), 0.0f);
}

TEST(GeneratePadwave, SameBitsAsTheLiteralSteps) {
    FreshEditor();
    const int32_t big = std::numeric_limits<int32_t>::max();
    const int32_t small = std::numeric_limits<int32_t>::min();
    for (int32_t cents : {8, 80, 990}) ExpectLiteralPad(cents);  // defaults
    for (int i = 0; i < HarmonicCount; ++i) Harmonics[i] = 0;
    for (int32_t cents : {8, 990}) ExpectLiteralPad(cents);
    for (int i = 0; i < HarmonicCount; ++i) Harmonics[i] = (i * 41) % 130 - 10;
    for (int32_t cents : {0, 80}) ExpectLiteralPad(cents);
    for (int i = 0; i < HarmonicCount; ++i) Harmonics[i] = i % 2 ? big : small;
    ExpectLiteralPad(8);
}

TEST(GeneratePadwave, AfterNewANarrowLoopingBandAt440Hz) {
    FreshEditor();
    Command(CmdViewPadwave);
    const uint32_t position = RandomPosition();
    Command(CmdGenerate);
    const std::vector<float> first = Pad();
    EXPECT_FLOAT_EQ(*std::max_element(first.begin(), first.end()), 1.0f / 3.0f);

    // One period: the step from the last sample back to the first is no larger
    // than the steps inside the buffer.
    float largestStep = 0.0f;
    for (int k = 1; k < PadwaveSamples; ++k) largestStep = std::max(largestStep, std::fabs(first[k] - first[k - 1]));
    EXPECT_LE(std::fabs(first[0] - first[PadwaveSamples - 1]), largestStep);

    std::vector<float> spectrum(2 * PadwaveSamples, 0.0f);
    for (int k = 0; k < PadwaveSamples; ++k) spectrum[2 * k] = first[k];
    ComplexFft(spectrum.data(), PadwaveSamples, -1);
    int32_t peak = 1;
    double peakPower = 0.0;
    for (int32_t i = 1; i < PadwaveSamples / 2; ++i) {
        const double power = std::hypot(spectrum[2 * i], spectrum[2 * i + 1]);
        if (power > peakPower) peak = i, peakPower = power;
    }
    EXPECT_NEAR(peak, 1308, 12);

    // Harmonic 32 has no amplitude slot; the same phases give the same pad.
    Harmonics[31] = 0;
    SetRandomPosition(position);
    Command(CmdGenerate);
    EXPECT_TRUE(SameBits(Pad(), first));
    Command(CmdGenerate);
    EXPECT_FALSE(SameBits(Pad(), first));
}

TEST(GeneratePadwave, TimesTenAndTheSmallestBandwidth) {
    FreshEditor();
    Command(CmdViewPadwave);
    PadwaveValue = 8;
    Command(CmdTimes10);
    uint32_t position = RandomPosition();
    Command(CmdGenerate);
    const std::vector<float> wide = Pad();
    SetRandomPosition(position);
    GeneratePadwave(80);
    EXPECT_TRUE(SameBits(Pad(), wide));

    Command(CmdTimes10);
    PadwaveValue = 0;
    position = RandomPosition();
    Command(CmdGenerate);
    const std::vector<float> narrow = Pad();
    SetRandomPosition(position);
    GeneratePadwave(1);
    EXPECT_TRUE(SameBits(Pad(), narrow));

    // Outside the Padwave view Generate does nothing.
    Command(CmdViewWaveform);
    position = RandomPosition();
    Command(CmdGenerate);
    EXPECT_EQ(RandomPosition(), position);
}

TEST(NormalizePadwave, LargestPositiveSampleAndSilence) {
    FreshEditor();
    PadwaveBuffer[10] = 0.6f;
    PadwaveBuffer[20] = -0.9f;
    NormalizePadwave(PadwaveSamples);
    EXPECT_FLOAT_EQ(PadwaveBuffer[10], 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(PadwaveBuffer[20], -0.5f);

    // No positive sample: silence, never NaN or infinity.
    ClearPadwave();
    PadwaveBuffer[5] = -0.25f;
    NormalizePadwave(PadwaveSamples);
    EXPECT_EQ(PadwaveBuffer[5], 0.0f);
    PadwaveBuffer[5] = std::numeric_limits<float>::denorm_min();
    NormalizePadwave(PadwaveSamples);
    EXPECT_EQ(PadwaveBuffer[5], 0.0f);

    std::fill(std::begin(Harmonics), std::end(Harmonics), 100);
    Harmonics[31] = 0;
    PadwaveBuffer[0] = 0.5f;
    GeneratePadwave(8);
    for (float s : PadwaveBuffer) ASSERT_EQ(s, 0.0f);
}

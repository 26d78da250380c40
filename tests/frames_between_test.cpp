#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/table_shape.h"
#include "synth/frames_between.h"

namespace {

constexpr double TwoPi = 6.283185307179586;

// The sum of sin(2 pi h i / n + phase) over the given harmonics, at n samples.
std::vector<float> Cycle(int n, std::vector<int> harmonics, double phase = 0.0, int count = 1) {
    std::vector<float> cycle;
    for (int c = 0; c < count; ++c)
        for (int i = 0; i < n; ++i) {
            double s = 0.0;
            for (int h : harmonics) s += (h == 0 ? 1.0 : std::sin(TwoPi * h * i / n + phase));
            cycle.push_back(static_cast<float>(s));
        }
    return cycle;
}

// Frame k of `frames` is the constant ramp k + i / 2048.
std::vector<float> Ramps(int frames) {
    std::vector<float> table;
    for (int k = 0; k < frames; ++k)
        for (int i = 0; i < SamplesPerFrame; ++i) table.push_back(k + i / 2048.0f);
    return table;
}

} // namespace

// Frame j sits at j (from - 1) / (to - 1): the ends are the table's ends, and
// going down, up or to one frame each takes its neighbours' crossfade.
TEST(FramesBetween, CrossfadePlacesEachFrameAtItsPosition) {
    for (auto [from, to] : {std::pair{100, 64}, {50, 100}, {100, 100}, {2, 3}, {100, 1}}) {
        const std::vector<float> source = Ramps(from);
        std::vector<float> out(static_cast<size_t>(to) * SamplesPerFrame);
        MakeFramesBetween(source.data(), from, to, FramesBetween::Crossfade, out.data());
        for (int j = 0; j < to; ++j) {
            const double p = to == 1 ? 0.0 : j * (from - 1.0) / (to - 1.0);
            for (int i : {0, 511, 1023})
                ASSERT_NEAR(out[j * SamplesPerFrame + i], p + i / 2048.0, 1e-5)
                    << from << " to " << to << ", frame " << j;
        }
    }
}

// Halfway from a sine to a cosine: Spectral keeps the amplitude and turns the
// phase by an eighth; Crossfade loses 3 dB.
TEST(FramesBetween, SpectralTurnsThePhaseWhereCrossfadeCancels) {
    std::vector<float> source = Cycle(SamplesPerFrame, {1});
    const std::vector<float> cosine = Cycle(SamplesPerFrame, {1}, TwoPi / 4);
    source.insert(source.end(), cosine.begin(), cosine.end());
    std::vector<float> spectral(3 * SamplesPerFrame), crossfade(3 * SamplesPerFrame);
    MakeFramesBetween(source.data(), 2, 3, FramesBetween::Spectral, spectral.data());
    MakeFramesBetween(source.data(), 2, 3, FramesBetween::Crossfade, crossfade.data());
    const std::vector<float> turned = Cycle(SamplesPerFrame, {1}, TwoPi / 8);
    for (int i = 0; i < SamplesPerFrame; ++i) {
        ASSERT_NEAR(spectral[SamplesPerFrame + i], turned[i], 1e-5) << i;
        ASSERT_NEAR(crossfade[SamplesPerFrame + i], turned[i] * std::sqrt(0.5), 1e-5) << i;
    }
    EXPECT_EQ(spectral[2 * SamplesPerFrame + 5], cosine[5]);
}

// Only harmonics 1 .. min((in - 1) / 2, (out - 1) / 2) pass: DC, the Nyquist
// bin and what the shorter length cannot hold are dropped, every cycle alike.
TEST(FramesBetween, BandLimitKeepsTheHarmonicsBothLengthsHold) {
    const struct {
        int in, out;
        std::vector<int> harmonics, kept;
    } rows[] = {{1024, 256, {0, 1, 127, 128, 511}, {1, 127}},
                {128, 2048, {0, 3, 63, 64}, {3, 63}},
                {1024, 1024, {1, 2, 511, 512}, {1, 2, 511}}};
    for (const auto& row : rows) {
        const std::vector<float> in = Cycle(row.in, row.harmonics, 0.3, 2);
        std::vector<float> out(2 * static_cast<size_t>(row.out));
        BandLimitCycles(in.data(), row.in, 2, row.out, out.data());
        const std::vector<float> expected = Cycle(row.out, row.kept, 0.3, 2);
        for (size_t i = 0; i < out.size(); ++i)
            ASSERT_NEAR(out[i], expected[i], 2e-6) << row.in << " to " << row.out << " at " << i;
    }
}

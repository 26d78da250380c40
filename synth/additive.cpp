#include "synth/additive.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/editor_state.h"
#include "core/sample_ops.h"
#include "synth/oscillator.h"

namespace {

constexpr int32_t LevelStep = 10;

// The new level for an edit that moves a sounding level by `delta`, then
// clamps to 0..100. Silent levels (100 and above) are only clamped. Worked in
// 64 bits so that any loaded 32-bit level is safe.
int32_t StepLevel(int32_t level, int32_t delta) {
    int64_t moved = level;
    if (moved < SilentLevel) moved += delta;
    return static_cast<int32_t>(std::clamp<int64_t>(moved, FullLevel, SilentLevel));
}

template <typename Edit> void EditLevels(Edit edit) {
    SaveHarmonicSnapshot();
    for (int32_t& level : Harmonics) level = edit(level);
    SynthesizeAdditive();
}

} // namespace

// One phase accumulator runs through all 32 harmonics, so each harmonic starts
// where the previous one ended. A silent harmonic (weight exactly 0) only
// advances the phase: its sines would add signed zeros to sums that started
// at +0 and so can never be -0, which changes no bit.
void SynthesizeAdditive() {
    std::fill(AdditiveFrame, AdditiveFrame + SamplesPerFrame, 0.0f);
    const float polarityFactor = Polarity != 0 ? 0.35f : -0.35f;
    float phase = StartPhase;
    for (int h = 1; h <= HarmonicCount; ++h) {
        const float step = FullTurn / static_cast<float>(SamplesPerFrame / h);
        const float weight = 1.0f - static_cast<float>(Harmonics[h - 1]) * 0.01f;
        for (int n = 0; n < SamplesPerFrame; ++n) {
            if (weight != 0.0f) {
                const float v = Sine(phase) * polarityFactor;
                AdditiveFrame[n] = v * weight + AdditiveFrame[n];
            }
            phase = step + phase;
        }
    }
    PeakNormalize(AdditiveFrame, SamplesPerFrame);
}

void RestoreHarmonicSnapshot() {
    std::copy(HarmonicSnapshot, HarmonicSnapshot + HarmonicCount, Harmonics);
    SynthesizeAdditive();
}

void CopyAdditiveFrame() {
    SaveHarmonicSnapshot();
    std::copy(AdditiveFrame, AdditiveFrame + SamplesPerFrame, FrameClipboard);
}

// The average of the saved and the current level, the quotient taken toward
// zero; the sum is taken in 64 bits so that any pair of levels is safe.
void MixHarmonicSnapshot() {
    for (int i = 0; i < HarmonicCount; ++i)
        Harmonics[i] =
            static_cast<int32_t>((static_cast<int64_t>(HarmonicSnapshot[i]) + Harmonics[i]) / 2);
    SynthesizeAdditive();
}

void AmplifyHarmonics() {
    EditLevels([](int32_t level) { return StepLevel(level, -LevelStep); });
}

void AttenuateHarmonics() {
    EditLevels([](int32_t level) { return StepLevel(level, LevelStep); });
}

// A sounding level becomes 100 - level; levels of 100 and above stay. A loaded
// level so far below zero that the difference leaves the 32-bit range gets the
// largest level instead.
void InvertHarmonics() {
    EditLevels([](int32_t level) {
        if (level >= SilentLevel) return level;
        const int64_t inverted = int64_t{SilentLevel} - level;
        return static_cast<int32_t>(
            std::min<int64_t>(inverted, std::numeric_limits<int32_t>::max()));
    });
}

void ReverseHarmonics() {
    SaveHarmonicSnapshot();
    std::reverse(Harmonics, Harmonics + HarmonicCount);
    SynthesizeAdditive();
}

#include "synth/additive.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <thread>
#include <vector>

#include "core/editor_state.h"
#include "synth/generators.h"
#include "ui/control_panel.h"

namespace {

constexpr float StartPhase = -3.1415927f;
constexpr float FullTurn = 6.2831855f;
constexpr int32_t FullLevel = 0;
constexpr int32_t SilentLevel = 100;
constexpr int32_t LevelStep = 10;
// Samples below this split point are summed on the calling thread, the rest on
// a helper thread, when enough harmonics sound to pay for starting it.
constexpr int SplitSample = SamplesPerFrame / 2;
constexpr int ThreadedHarmonics = 4;

// One harmonic's share of the frame: its phase step, its weight, and the phase
// it has at sample 0 and at the split sample.
struct HarmonicRun {
    float step;
    float weight;
    float phaseAt[2];
};

// Adds the sounding harmonics into samples [first, end) of the frame, each
// sample summing them in harmonic order. A silent harmonic (weight exactly 0)
// would add a signed zero to a sum that is never -0, so skipping it keeps
// every bit.
void AddHarmonics(const std::vector<HarmonicRun>& runs, float polarityFactor, int part) {
    const int first = part == 0 ? 0 : SplitSample;
    const int end = part == 0 ? SplitSample : SamplesPerFrame;
    for (const HarmonicRun& run : runs) {
        if (run.weight == 0.0f) continue;
        float phase = run.phaseAt[part];
        for (int n = first; n < end; ++n) {
            const float v = static_cast<float>(std::sin(static_cast<double>(phase))) * polarityFactor;
            AdditiveFrame[n] = v * run.weight + AdditiveFrame[n];
            phase = run.step + phase;
        }
    }
}

// The new level for an edit that moves a sounding level by `delta`, then
// clamps to 0..100. Silent levels (100 and above) are only clamped. Worked in
// 64 bits so that any loaded 32-bit level is safe.
int32_t StepLevel(int32_t level, int32_t delta) {
    int64_t moved = level;
    if (moved < SilentLevel) moved += delta;
    return static_cast<int32_t>(std::clamp<int64_t>(moved, FullLevel, SilentLevel));
}

template <typename Edit>
void EditLevels(Edit edit) {
    SaveHarmonicSnapshot();
    for (int32_t& level : Harmonics) level = edit(level);
    SynthesizeAdditive();
}

}  // namespace

// One phase accumulator runs through all 32 harmonics, so each harmonic starts
// where the previous one ended. The phase chain is cheap and strictly serial;
// it is walked first, recording where each half of each harmonic starts, and
// the sines are then summed per half, on two threads when it pays.
void SynthesizeAdditive() {
    std::fill(AdditiveFrame, AdditiveFrame + SamplesPerFrame, 0.0f);
    std::vector<HarmonicRun> runs(HarmonicCount);
    float phase = StartPhase;
    int sounding = 0;
    for (int h = 1; h <= HarmonicCount; ++h) {
        HarmonicRun& run = runs[h - 1];
        run.step = FullTurn / static_cast<float>(SamplesPerFrame / h);
        run.weight = 1.0f - static_cast<float>(Harmonics[h - 1]) * 0.01f;
        if (run.weight != 0.0f) ++sounding;
        run.phaseAt[0] = phase;
        for (int n = 0; n < SamplesPerFrame; ++n) {
            if (n == SplitSample) run.phaseAt[1] = phase;
            phase = run.step + phase;
        }
    }
    const float polarityFactor = Polarity != 0 ? 0.35f : -0.35f;
    if (sounding > ThreadedHarmonics) {
        std::thread upper(AddHarmonics, std::cref(runs), polarityFactor, 1);
        AddHarmonics(runs, polarityFactor, 0);
        upper.join();
    } else {
        AddHarmonics(runs, polarityFactor, 0);
        AddHarmonics(runs, polarityFactor, 1);
    }
    PeakNormalize(AdditiveFrame, SamplesPerFrame);
}

void ResetHarmonics() {
    Harmonics[0] = FullLevel;
    std::fill(Harmonics + 1, Harmonics + HarmonicCount, SilentLevel);
    InitSliderGeometry();
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
        Harmonics[i] = static_cast<int32_t>((static_cast<int64_t>(HarmonicSnapshot[i]) + Harmonics[i]) / 2);
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
        return static_cast<int32_t>(std::min<int64_t>(inverted, std::numeric_limits<int32_t>::max()));
    });
}

void ReverseHarmonics() {
    SaveHarmonicSnapshot();
    std::reverse(Harmonics, Harmonics + HarmonicCount);
    SynthesizeAdditive();
}

// The Edit menu's frame processes over all 100 frames of the Wavetable view,
// each as its menu command runs it once the number is asked; the same run's
// NormalizeRangeAllFrames (core_bench.cpp) is their baseline.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "core/editor_state.h"
#include "synth/fill_gaps.h"
#include "synth/frame_processes.h"
#include "synth/generators.h"
#include "synth/spectral_morph.h"
#include "synth/wave_fold.h"

namespace {

// A saw in every frame, the knobs on 0 and 99; the square in frame 99.
void PrepareTable() {
    NewDocument();
    ViewMode = ViewWavetable;
    CurrentFrame = 0;
    OffsetFrame = 99;
    GenerateSaw();
    CurrentFrame = 99;
    ViewMode = ViewWaveform;
    GenerateSquare();
    ViewMode = ViewWavetable;
    CurrentFrame = 0;
}

void BM_FrameProcess(benchmark::State& state, void (*process)()) {
    PrepareTable();
    for (auto _ : state) process();
    benchmark::DoNotOptimize(Wavetable[2]);
}

void SpectralMorphAll() { SpectralMorphFrames(); }
void RemoveDcAll() { RemoveDcEach(); }
void NormalizeEachAll() { NormalizeEach(); }
void AlignPhaseAll() { AlignPhaseEach(); }
void LowPassAll() { LowPassEach(32); }
void HighPassAll() { HighPassEach(2); }
void HarmonicShiftAll() { ShiftHarmonicsEach(3); }
void WaveFoldAll() { WaveFoldEach(2.5f); }

// Keyframes 0, 40 and 99 with silence between, made afresh each time (two
// clears of 98 frames, some 40 microseconds, are in the figure).
void FillGapsWith(bool spectral) {
    std::fill(Wavetable + 1 * SamplesPerFrame, Wavetable + 40 * SamplesPerFrame, 0.0f);
    std::fill(Wavetable + 41 * SamplesPerFrame, Wavetable + 99 * SamplesPerFrame, 0.0f);
    FillGaps(spectral);
}
void FillGapsAll() { FillGapsWith(false); }
void FillGapsSpectralAll() { FillGapsWith(true); }

} // namespace

BENCHMARK_CAPTURE(BM_FrameProcess, SpectralMorph, SpectralMorphAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrameProcess, FillGaps, FillGapsAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrameProcess, FillGapsSpectral, FillGapsSpectralAll)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrameProcess, RemoveDc, RemoveDcAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrameProcess, NormalizeEach, NormalizeEachAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrameProcess, AlignPhase, AlignPhaseAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrameProcess, LowPass, LowPassAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrameProcess, HighPass, HighPassAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrameProcess, HarmonicShift, HarmonicShiftAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrameProcess, WaveFold, WaveFoldAll)->Unit(benchmark::kMillisecond);

// Commands of the editor core, each run as the dispatcher runs it.
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/editor_state.h"
#include "core/edits.h"
#include "synth/generators.h"

namespace {

void Prepare(int32_t view) {
    NewDocument();
    ViewMode = view;
    CurrentFrame = 0;
    OffsetFrame = 99;
}

// Runs one command over and over in a view with the knobs on frames 0 and 99.
void BM_Command(benchmark::State& state, int32_t view, void (*command)()) {
    Prepare(view);
    GenerateSaw();
    for (auto _ : state) command();
    benchmark::DoNotOptimize(Wavetable[2]);
}
BENCHMARK_CAPTURE(BM_Command, GenerateSaw, ViewWaveform, GenerateSaw)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Command, GenerateSine, ViewWaveform, GenerateSine)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Command, GenerateSawAllFrames, ViewWavetable, GenerateSaw)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Command, NormalizeRangeAllFrames, ViewWavetable, NormalizeRange)
    ->Unit(benchmark::kMillisecond);

void BM_TakeUndoSnapshot(benchmark::State& state) {
    Prepare(ViewWaveform);
    for (auto _ : state) {
        TakeUndoSnapshot();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TakeUndoSnapshot)->Unit(benchmark::kMillisecond);

// The machine's floor for Saw: the same 255 x 1024 double-precision sines with
// nothing else around them.
void BM_BaselineSawSines(benchmark::State& state) {
    for (auto _ : state) {
        float sum = 0.0f;
        for (int h = 1; h < 256; ++h) {
            float phase = -3.1415927f;
            const float step = 6.2831855f / ((1.0f / h) * 1024.0f);
            for (int n = 0; n < 1024; ++n) {
                sum = static_cast<float>(std::sin(static_cast<double>(phase))) + sum;
                phase = step + phase;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_BaselineSawSines)->Unit(benchmark::kMillisecond);

} // namespace

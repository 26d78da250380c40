// Commands of the editor core, each run as the dispatcher runs it.
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/edits.h"
#include "core/editor_state.h"
#include "synth/generators.h"

namespace {

void Prepare(int32_t view) {
    NewDocument();
    ViewMode = view;
    CurrentFrame = 0;
    OffsetFrame = 99;
}

void BM_GenerateSaw(benchmark::State& state) {
    Prepare(ViewWaveform);
    for (auto _ : state) GenerateSaw();
    benchmark::DoNotOptimize(Wavetable[2]);
}
BENCHMARK(BM_GenerateSaw)->Unit(benchmark::kMillisecond);

void BM_GenerateSine(benchmark::State& state) {
    Prepare(ViewWaveform);
    for (auto _ : state) GenerateSine();
    benchmark::DoNotOptimize(Wavetable[2]);
}
BENCHMARK(BM_GenerateSine)->Unit(benchmark::kMillisecond);

void BM_GenerateSawAllFrames(benchmark::State& state) {
    Prepare(ViewWavetable);
    for (auto _ : state) GenerateSaw();
    benchmark::DoNotOptimize(Wavetable[2]);
}
BENCHMARK(BM_GenerateSawAllFrames)->Unit(benchmark::kMillisecond);

void BM_NormalizeRangeAllFrames(benchmark::State& state) {
    Prepare(ViewWavetable);
    GenerateSaw();
    for (auto _ : state) NormalizeRange();
    benchmark::DoNotOptimize(Wavetable[2]);
}
BENCHMARK(BM_NormalizeRangeAllFrames)->Unit(benchmark::kMillisecond);

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

}  // namespace

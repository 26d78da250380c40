// Padwave, FFT and additive synthesis against their literal versions, in the
// same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "core/editor_state.h"
#include "core/random.h"
#include "synth/additive.h"
#include "synth/fft.h"
#include "synth/padwave.h"
#include "tests/reference/literal_synth.h"

namespace {

constexpr int32_t WidestCents = 990;

void DefaultLevels() { NewDocument(); }

void AllLevelsFull() {
    NewDocument();
    std::fill(std::begin(Harmonics), std::end(Harmonics), 0);
}

template <void (*Setup)(), void (*Generate)(int32_t)> void Padwave(benchmark::State& state) {
    Setup();
    const auto cents = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        Generate(cents);
        benchmark::DoNotOptimize(PadwaveBuffer);
    }
}

template <void (*Transform)(float*, int32_t, int32_t)> void Fft(benchmark::State& state) {
    const int32_t nn = PadwaveSamples;
    std::vector<float> input(2 * nn);
    for (float& v : input) v = static_cast<float>(NextRandom()) / RandomMax - 0.5f;
    std::vector<float> data(2 * nn);
    for (auto _ : state) {
        state.PauseTiming();
        data = input;
        state.ResumeTiming();
        Transform(data.data(), nn, 1);
        benchmark::DoNotOptimize(data.data());
    }
}

template <void (*Setup)(), void (*Synthesize)()> void Additive(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        Synthesize();
        benchmark::DoNotOptimize(AdditiveFrame);
    }
}

} // namespace

BENCHMARK(Padwave<DefaultLevels, GeneratePadwave>)
    ->Name("GeneratePadwave/defaults")
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(Padwave<DefaultLevels, LiteralGeneratePadwave>)
    ->Name("LiteralGeneratePadwave/defaults")
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(Padwave<AllLevelsFull, GeneratePadwave>)
    ->Name("GeneratePadwave/all_full")
    ->Arg(8)
    ->Arg(WidestCents)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(Padwave<AllLevelsFull, LiteralGeneratePadwave>)
    ->Name("LiteralGeneratePadwave/all_full")
    ->Arg(8)
    ->Arg(WidestCents)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(Fft<ComplexFft>)
    ->Name("ComplexFft/131072")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(Fft<LiteralComplexFft>)
    ->Name("LiteralComplexFft/131072")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(Additive<DefaultLevels, SynthesizeAdditive>)
    ->Name("SynthesizeAdditive/defaults")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(Additive<DefaultLevels, LiteralSynthesizeAdditive>)
    ->Name("LiteralSynthesizeAdditive/defaults")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(Additive<AllLevelsFull, SynthesizeAdditive>)
    ->Name("SynthesizeAdditive/all_full")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(Additive<AllLevelsFull, LiteralSynthesizeAdditive>)
    ->Name("LiteralSynthesizeAdditive/all_full")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

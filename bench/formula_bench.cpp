// Formulas over the whole table next to the same wave written in C++, in the
// same run: a Wave-mode sweep, and a Harmonics-mode saw whose harmonics open
// up across the table.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "core/editor_state.h"
#include "synth/formula.h"

namespace {

void Apply(benchmark::State& state, const Formula& formula) {
    std::vector<float> table(TableSamples, 0.0f);
    for (auto _ : state) {
        ApplyFormula(formula, table.data(), 0, FrameCount - 1);
        benchmark::DoNotOptimize(table.data());
    }
}

void WaveSweep(benchmark::State& state) {
    Formula formula;
    formula.wave = "sin(pi*x*(1+7*z))*(1-abs(x))^2";
    Apply(state, formula);
}

// sin(pi*x*(1+7*z))*(1-abs(x))^2 with the formula's doubles, stored as floats.
void WaveSweepInCpp(benchmark::State& state) {
    const double pi = 3.14159265358979323846;
    std::vector<float> table(TableSamples, 0.0f);
    for (auto _ : state) {
        for (int f = 0; f < FrameCount; ++f) {
            const double z = f / static_cast<double>(FrameCount - 1);
            for (int i = 0; i < SamplesPerFrame; ++i) {
                const double x = -1.0 + 2.0 * i / SamplesPerFrame;
                const double s = std::sin(pi * x * (1 + 7 * z)) * std::pow(1 - std::abs(x), 2);
                table[f * SamplesPerFrame + i] = static_cast<float>(s);
            }
        }
        benchmark::DoNotOptimize(table.data());
    }
}

void HarmonicsSweep(benchmark::State& state) {
    Formula formula;
    formula.mode = FormulaMode::Harmonics;
    formula.amplitude = "1/q*(q<=8+24*z)";
    Apply(state, formula);
}

} // namespace

BENCHMARK(WaveSweep)->Unit(benchmark::kMillisecond);
BENCHMARK(WaveSweepInCpp)->Unit(benchmark::kMillisecond);
BENCHMARK(HarmonicsSweep)->Unit(benchmark::kMillisecond);

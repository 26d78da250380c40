// The default script (a Fourier saw, 100 frames of 1024 samples, about 5
// million sine calls) run in the script runner and placed into the table,
// next to the same sum written in C++, in the same run; the start of a run
// (process, Lua state, helpers) with a script that does nothing; and, for the
// choice of a runner of our own, the start of the editor's program itself.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cmath>
#include <vector>

#include "core/table_shape.h"
#include "platform/script_process.h"
#include "synth/script_frames.h"

namespace {

const bool RunnerFound = (ScriptRunnerPath = QARNO_SCRIPT_RUNNER, true);

void FourierSawScript(benchmark::State& state) {
    std::vector<float> table(TableSamples, 0.0f);
    for (auto _ : state) {
        if (!ApplyScript(WavetableScript(), table.data(), 0, FrameCount - 1).error.empty())
            state.SkipWithError("the script failed");
        benchmark::DoNotOptimize(table.data());
    }
}

void FourierSawInCpp(benchmark::State& state) {
    const double pi = 3.14159265358979323846;
    std::vector<float> table(TableSamples, 0.0f);
    for (auto _ : state) {
        for (int f = 1; f <= FrameCount; ++f)
            for (int i = 1; i <= SamplesPerFrame; ++i) {
                const double x = 2 * pi * (i - 1) / SamplesPerFrame;
                double v = 0;
                for (int n = 1; n <= f; ++n) v = v + 2 / (pi * n) * std::sin(n * x);
                table[(f - 1) * SamplesPerFrame + i - 1] = static_cast<float>(v);
            }
        benchmark::DoNotOptimize(table.data());
    }
}

void ScriptRunStart(benchmark::State& state) {
    const ScriptRequest request = {"function generate(wt) return {0, 0} end", 1, 2};
    for (auto _ : state) benchmark::DoNotOptimize(RunScriptProcess(request).values.data());
}

void ProgramStartForComparison(benchmark::State& state) {
    char* argv[] = {const_cast<char*>(QARNO_PROGRAM), const_cast<char*>("--version"), nullptr};
    char* envp[] = {nullptr};
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, QARNO_PROGRAM, &files, nullptr, argv, envp) != 0 ||
            waitpid(pid, &status, 0) != pid)
            state.SkipWithError("the program did not start");
    }
    posix_spawn_file_actions_destroy(&files);
}

} // namespace

BENCHMARK(FourierSawScript)->Unit(benchmark::kMillisecond);
BENCHMARK(FourierSawInCpp)->Unit(benchmark::kMillisecond);
BENCHMARK(ScriptRunStart)->Unit(benchmark::kMillisecond);
BENCHMARK(ProgramStartForComparison)->Unit(benchmark::kMillisecond);

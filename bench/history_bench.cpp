// Recording, showing and restoring history entries, beside TakeUndoSnapshot
// (core_bench.cpp), the copy every table edit already makes.
#include <benchmark/benchmark.h>

#include "core/editor_state.h"
#include "core/history.h"

namespace {

// A step changing frame 7 alone, or every frame.
void BM_HistoryRecord(benchmark::State& state, int frames) {
    NewDocument();
    StartHistory();
    float value = 0.0f;
    for (auto _ : state) {
        value += 1.0f;
        for (int k = 0; k < frames; ++k) Wavetable[(7 + k) % FrameCount * SamplesPerFrame] = value;
        benchmark::DoNotOptimize(RecordHistory("step"));
    }
}
BENCHMARK_CAPTURE(BM_HistoryRecord, OneFrame, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HistoryRecord, WholeTable, FrameCount)->Unit(benchmark::kMillisecond);

// Entries 1 and 2 differ in every frame, the levels and the pad. Show puts
// entry 2 into the document; each Restore adds an entry, so that entry 2 is
// always the state the document is not in.
void BM_HistoryBringBack(benchmark::State& state, bool restore) {
    NewDocument();
    StartHistory();
    std::fill_n(Wavetable, TableSamples, 0.5f);
    std::fill_n(PadwaveBuffer, PadwaveSamples, 0.25f);
    Harmonics[3] = 7;
    RecordHistory("filled");
    for (auto _ : state) {
        if (restore)
            RestoreHistoryEntry(2);
        else
            ShowHistoryEntry(2);
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(BM_HistoryBringBack, Show, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HistoryBringBack, Restore, true)->Unit(benchmark::kMillisecond);

} // namespace

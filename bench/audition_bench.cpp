// The audition: building its band-limited material (whole, every frame, one
// frame) and rendering a second of 16 sweeping voices next to one voice.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "core/editor_state.h"
#include "core/random.h"
#include "synth/audition.h"

namespace {

constexpr float Rate = 48000.0f;

// 100 different frames of noise, an additive frame and a pad.
struct Document {
    std::vector<float> table = std::vector<float>(TableSamples);
    std::vector<float> additive = std::vector<float>(SamplesPerFrame);
    std::vector<float> pad = std::vector<float>(PadwaveSamples);

    Document() {
        for (float& s : table) s = static_cast<float>(NextRandom()) / RandomMax - 0.5f;
        for (float& s : additive) s = static_cast<float>(NextRandom()) / RandomMax - 0.5f;
        for (float& s : pad) s = static_cast<float>(NextRandom()) / RandomMax - 0.5f;
    }
    AuditionMaterial* Build(const AuditionMaterial* previous) const {
        return BuildAuditionMaterial(table.data(), additive.data(), pad.data(), previous);
    }
};

void AddMemoryCounter(benchmark::State& state, const AuditionMaterial* material) {
    state.counters["MB"] =
        static_cast<double>(AuditionMaterialBytes(material) + sizeof(AuditionEngine)) / 1048576.0;
}

// Frames, additive frame and pad, nothing to reuse.
void BuildWhole(benchmark::State& state) {
    const Document document;
    for (auto _ : state) {
        AuditionMaterial* material = document.Build(nullptr);
        benchmark::DoNotOptimize(material);
        state.PauseTiming();
        AddMemoryCounter(state, material);
        FreeAuditionMaterial(material);
        state.ResumeTiming();
    }
}

// Rebuilds after `Change`, with the material before it to reuse.
template <void (*Change)(Document&)> void Rebuild(benchmark::State& state) {
    Document document;
    AuditionMaterial* previous = document.Build(nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        Change(document);
        state.ResumeTiming();
        AuditionMaterial* material = document.Build(previous);
        state.PauseTiming();
        FreeAuditionMaterial(previous);
        previous = material;
        state.ResumeTiming();
    }
    FreeAuditionMaterial(previous);
}

// Every frame changed, the pad and the additive frame as before.
void ChangeAllFrames(Document& document) {
    for (int f = 0; f < FrameCount; ++f) document.table[f * SamplesPerFrame] += 0.001f;
}

// One frame changed: what an edit of the Wave frame costs.
void ChangeOneFrame(Document& document) { document.table[40 * SamplesPerFrame + 7] += 0.001f; }

// One second of 48 kHz stereo in device-sized blocks, `voices` notes held
// while sweeping the table back and forth.
void RenderSecond(benchmark::State& state) {
    const Document document;
    AuditionMaterial* material = document.Build(nullptr);
    const auto voices = static_cast<int>(state.range(0));
    std::vector<float> block(2 * 256);
    for (auto _ : state) {
        state.PauseTiming();
        AuditionEngine engine;
        AuditionReset(engine, Rate);
        AuditionEvent mode;
        mode.type = AuditionEventType::SetPlayMode;
        mode.mode.to = 99.0f;
        mode.mode.seconds = 0.5f;
        mode.mode.pingPong = true;
        AuditionApply(engine, mode);
        for (int v = 0; v < voices; ++v) {
            AuditionEvent on;
            on.type = AuditionEventType::NoteOn;
            on.note = static_cast<uint8_t>(36 + 3 * v);
            on.value = 100;
            AuditionApply(engine, on);
        }
        state.ResumeTiming();
        for (int done = 0; done < 48000; done += 256) {
            AuditionRender(engine, material, block.data(), 256);
            benchmark::DoNotOptimize(block.data());
        }
    }
    FreeAuditionMaterial(material);
}

} // namespace

BENCHMARK(BuildWhole)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Rebuild<ChangeAllFrames>)
    ->Name("BuildAllFrames")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(Rebuild<ChangeOneFrame>)
    ->Name("BuildOneFrame")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(RenderSecond)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime();

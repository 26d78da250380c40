// Export and import of wavetables through the file commands, each next to a
// command of the same kind that resamples nothing as its baseline: Export 2048
// against Save Wavetable, a 256 x 2048 float "clm " table against a 100 x 1024
// float table, a 600-sample cycle against a 1024-sample one; and Save Project and
// Open Project, the whole document in one file, against Save Wavetable.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/main_window.h"
#include "core/command_ids.h"
#include "core/editor_state.h"
#include "io/byte_order.h"
#include "platform/headless.h"

namespace {

std::string BenchFolder;

// A folder of its own under the temporary folder, removed at exit.
std::string Folder() {
    if (BenchFolder.empty()) {
        const char* temporary = std::getenv("TMPDIR");
        BenchFolder =
            std::string(temporary && *temporary ? temporary : "/tmp") + "/qarno-bench-XXXXXX";
        if (!mkdtemp(BenchFolder.data())) std::abort();
        std::atexit([] { std::filesystem::remove_all(BenchFolder); });
    }
    return BenchFolder;
}

// Writes a mono WAV file of 32-bit floats, with an optional "clm " chunk.
std::string FloatFile(const std::string& name, const std::vector<float>& samples,
                      const std::string& clm) {
    std::vector<uint8_t> tags;
    if (!clm.empty()) {
        PutTag(tags, "clm ");
        PutU32(tags, static_cast<uint32_t>(clm.size()));
        tags.insert(tags.end(), clm.begin(), clm.end());
    }
    std::vector<uint8_t> file;
    PutTag(file, "RIFF");
    PutU32(file, static_cast<uint32_t>(36 + tags.size() + 4 * samples.size()));
    PutTag(file, "WAVE");
    PutTag(file, "fmt ");
    for (uint32_t v : {16u, 3u | 1u << 16, 44100u, 176400u, 4u | 32u << 16}) PutU32(file, v);
    file.insert(file.end(), tags.begin(), tags.end());
    PutTag(file, "data");
    PutU32(file, static_cast<uint32_t>(4 * samples.size()));
    for (float s : samples) {
        uint32_t bits;
        std::memcpy(&bits, &s, 4);
        PutU32(file, bits);
    }
    const std::string path = Folder() + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), file.size());
    return path;
}

std::vector<float> Sines(int frames, int length) {
    std::vector<float> samples(static_cast<size_t>(frames) * length);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.4f * static_cast<float>(std::sin(6.283185307179586 * (i % length) *
                                                        (1 + i / length % 7) / length));
    return samples;
}

void Prepare(int32_t view) {
    InstallCommands();
    HeadlessCreateWindow(MainWindowProc);
    NewDocument();
    const std::vector<float> table = Sines(FrameCount, SamplesPerFrame);
    std::copy(table.begin(), table.end(), Wavetable);
    ViewMode = view;
}

// Runs the command over and over with `path` as the answer of its dialog.
void RunCommand(benchmark::State& state, int32_t view, uint16_t command, const std::string& path) {
    Prepare(view);
    for (auto _ : state) {
        HeadlessDialogAnswers.push_back(path);
        MainWindowProc(HeadlessWindow(), WM_COMMAND, command, 0);
    }
    if (!HeadlessMessageBoxes.empty()) state.SkipWithError(HeadlessMessageBoxes[0].text.c_str());
    if (HeadlessDialogsShown.empty()) state.SkipWithError("the command asked for no file");
    benchmark::DoNotOptimize(Wavetable[5]);
}

void BM_Export2048(benchmark::State& state) {
    RunCommand(state, ViewWavetable, CmdExport2048, Folder() + "/export.wav");
}
BENCHMARK(BM_Export2048)->Unit(benchmark::kMillisecond);

void BM_SaveWavetableBaseline(benchmark::State& state) {
    RunCommand(state, ViewWavetable, CmdSaveWavetable, Folder() + "/table.wav");
}
BENCHMARK(BM_SaveWavetableBaseline)->Unit(benchmark::kMillisecond);

void BM_SaveProject(benchmark::State& state) {
    RunCommand(state, ViewWavetable, CmdSaveProject, Folder() + "/project.wav");
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

void BM_OpenProject(benchmark::State& state) {
    const std::string path = Folder() + "/open.wav";
    Prepare(ViewWavetable);
    HeadlessDialogAnswers.push_back(path);
    MainWindowProc(HeadlessWindow(), WM_COMMAND, CmdSaveProject, 0);
    RunCommand(state, ViewWavetable, CmdOpenProject, path);
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond);

void BM_LoadClmTable256x2048(benchmark::State& state) {
    static const std::string path =
        FloatFile("clm.wav", Sines(256, 2048), "<!>2048 10000000 wavetable (bench)");
    RunCommand(state, ViewWavetable, CmdLoadWavetable, path);
}
BENCHMARK(BM_LoadClmTable256x2048)->Unit(benchmark::kMillisecond);

void BM_LoadOwnTableBaseline(benchmark::State& state) {
    static const std::string path = FloatFile("own.wav", Sines(100, 1024), "");
    RunCommand(state, ViewWavetable, CmdLoadWavetable, path);
}
BENCHMARK(BM_LoadOwnTableBaseline)->Unit(benchmark::kMillisecond);

void BM_LoadCycle600(benchmark::State& state) {
    static const std::string path = FloatFile("cycle600.wav", Sines(1, 600), "");
    RunCommand(state, ViewWaveform, CmdLoadWaveform, path);
}
BENCHMARK(BM_LoadCycle600)->Unit(benchmark::kMillisecond);

void BM_LoadCycle1024Baseline(benchmark::State& state) {
    static const std::string path = FloatFile("cycle1024.wav", Sines(1, 1024), "");
    RunCommand(state, ViewWaveform, CmdLoadWaveform, path);
}
BENCHMARK(BM_LoadCycle1024Baseline)->Unit(benchmark::kMillisecond);

} // namespace

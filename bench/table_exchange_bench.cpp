// Export For of each target, by Crossfade and by Spectral, and Import Wavetable of a 256 x 2048 .wt
// file, through the menu commands and their dialogs, the whole table each time; the baseline is
// Save Wavetable (BM_SaveWavetableBaseline in exchange_bench.cpp, in the same run).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/main_window.h"
#include "core/command_ids.h"
#include "core/editor_state.h"
#include "io/export_targets.h"
#include "io/file_access.h"
#include "io/wt_file.h"
#include "platform/headless.h"
#include "platform/table_exchange_dialog.h"

namespace {

std::string BenchFile(const std::string& name) {
    const auto folder = std::filesystem::temp_directory_path() / "qarno-bench-targets";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

// The editor with a table whose frame k holds harmonics 1 .. k + 1, in the Wavetable view.
void Prepare() {
    InstallCommands();
    HeadlessCreateWindow(MainWindowProc);
    NewDocument();
    for (int i = 0; i < TableSamples; ++i)
        for (int h = 1; h <= i / SamplesPerFrame + 1; ++h)
            Wavetable[i] += 0.3f / h * std::sin(6.2831853f * h * (i % SamplesPerFrame) / 1024);
    ViewMode = ViewWavetable;
}

void Finish(benchmark::State& state) {
    if (!HeadlessMessageBoxes.empty()) state.SkipWithError(HeadlessMessageBoxes[0].text.c_str());
    if (HeadlessDialogsShown.empty()) state.SkipWithError("the command asked for no file");
    std::filesystem::remove_all(std::filesystem::path(BenchFile("x")).parent_path());
}

void BM_ExportFor(benchmark::State& state) {
    Prepare();
    const auto target = static_cast<int>(state.range(0));
    const ExportTarget& chosen = ExportTargets[target];
    const std::string path = BenchFile(std::string("out.") + ExtensionOf(chosen.layout.file));
    for (auto _ : state) {
        HeadlessExportAnswers.push_back([=](ExportDialog& d) {
            d.target = target;
            d.spectral = state.range(1) != 0;
        });
        HeadlessDialogAnswers.push_back(path);
        MainWindowProc(HeadlessWindow(), WM_COMMAND, CmdExportFor, 0);
    }
    state.SetLabel(chosen.label);
    Finish(state);
}
// Each target with frames between by Crossfade (0) and by Spectral (1).
BENCHMARK(BM_ExportFor)
    ->ArgsProduct({benchmark::CreateDenseRange(0, static_cast<int>(CustomTarget), 1), {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_ImportWt256x2048(benchmark::State& state) {
    Prepare();
    std::vector<float> frames(256 * 2048);
    for (size_t i = 0; i < frames.size(); ++i)
        frames[i] = 0.5f * std::sin(6.2831853f * (1 + i / 2048 % 9) * (i % 2048) / 2048);
    const std::string path = BenchFile("in.wt");
    FileError error;
    WriteFileReplacing(path, BuildWtImage(frames.data(), 256, 2048, false), error);
    for (auto _ : state) {
        HeadlessImportTableAnswers.push_back([](ImportTableDialog&) {});
        HeadlessDialogAnswers.push_back(path);
        MainWindowProc(HeadlessWindow(), WM_COMMAND, CmdImportWavetable, 0);
    }
    Finish(state);
}
BENCHMARK(BM_ImportWt256x2048)->Unit(benchmark::kMillisecond);

} // namespace

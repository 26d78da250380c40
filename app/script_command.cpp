#include "app/script_command.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "app/live_audition.h"
#include "core/editor_state.h"
#include "io/wtscript_file.h"
#include "platform/common/surface.h"
#include "synth/formula.h"
#include "synth/frame_processes.h"
#include "synth/script_frames.h"
#include "ui/formula_preview.h"

namespace {

// The dialog's state for the callbacks: the window, the frames of the edit
// range and the table with the last good run's frames over them; the dialog
// takes a script only once it has run, so OK finds its frames here.
WindowHandle Owner = nullptr;
int32_t First = 0;
int32_t Last = 0;
float PreviewTable[TableSamples];

void Show(int32_t shown, Surface& raster) {
    DrawFormulaPreview(raster, PreviewTable, First, Last, shown);
}

ScriptCheck Run(const WavetableScript& script, int32_t shown, Surface& raster) {
    std::vector<float> table(Wavetable, Wavetable + TableSamples);
    const ScriptOutcome outcome = ApplyScript(script, table.data(), First, Last);
    ScriptCheck check;
    check.error = outcome.error;
    if (!check.error.empty()) return check;
    std::copy(table.begin(), table.end(), PreviewTable);
    const std::string note = NonFiniteNote(FormulaMode::Wave, outcome.nonFinite);
    check.notice = outcome.name.empty() ? note : "\"" + outcome.name + "\"";
    if (!outcome.name.empty() && !note.empty()) check.notice += "; " + note;
    Show(shown, raster);
    UpdateLiveAudition();
    return check;
}

void Listen(bool on) { ListenToPreview(Owner, on); }

FileDialog ScriptFileDialog(bool save) {
    return {save, "Wavetable Script (*.wtscript)", "*.wtscript", "wtscript",
            save ? "script.wtscript" : ""};
}

bool HasWtscriptExtension(const std::string& path) {
    const std::string ending = ".wtscript";
    if (path.size() < ending.size()) return false;
    return std::equal(ending.begin(), ending.end(), path.end() - ending.size(),
                      [](char a, char b) { return a == std::tolower(uint8_t(b)); });
}

// A .wtscript file, or any other file as the script's text.
bool ParseScriptFile(const std::string& path, const std::vector<uint8_t>& bytes,
                     WavetableScript& script, std::string& wrong) {
    if (HasWtscriptExtension(path)) return ParseWtscript(bytes.data(), bytes.size(), script, wrong);
    if (bytes.size() > ScriptMaxBytes) {
        wrong = "the script is larger than 1 MB";
        return false;
    }
    script.lua.assign(bytes.begin(), bytes.end());
    return true;
}

bool OpenScript(WindowHandle owner, WavetableScript& script) {
    std::string path, wrong;
    std::vector<uint8_t> bytes;
    if (!LoadThroughDialog(owner, ScriptFileDialog(false), path, bytes)) return false;
    if (ParseScriptFile(path, bytes, script, wrong)) return true;
    ReportFileError(owner, {wrong, ""}, path);
    return false;
}

void SaveScript(WindowHandle owner, const WavetableScript& script) {
    SaveThroughDialog(owner, ScriptFileDialog(true), [&] { return BuildWtscriptImage(script); });
}

} // namespace

bool ReadScriptFile(const std::string& path, WavetableScript& script, FileError& error) {
    std::vector<uint8_t> bytes;
    if (!LoadWholeFile(path, bytes, error)) return false;
    error = {"", ""};
    return ParseScriptFile(path, bytes, script, error.what);
}

void ScriptCommand(WindowHandle window, CommandId) {
    Owner = window;
    EditFrames(First, Last);
    ScriptDialog dialog;
    dialog.script = CurrentScript;
    if (dialog.script.frames == ScriptFramesOfRange) dialog.script.frames = Last - First + 1;
    dialog.firstFrame = First;
    dialog.lastFrame = Last;
    dialog.run = Run;
    dialog.show = Show;
    dialog.listen = Listen;
    dialog.open = OpenScript;
    dialog.save = SaveScript;
    if (!AskWithPreview(window, PreviewTable, [&] { return AskScript(window, dialog); })) return;
    CurrentScript = dialog.script;
    TakeUndoSnapshot();
    std::copy(PreviewTable + size_t(First) * SamplesPerFrame,
              PreviewTable + size_t(Last + 1) * SamplesPerFrame,
              Wavetable + size_t(First) * SamplesPerFrame);
}

#include "app/table_exchange.h"

#include <optional>

#include "core/editor_state.h"
#include "platform/common/file_names.h"
#include "platform/common/text_parse.h"
#include "platform/table_exchange_dialog.h"
#include "synth/table_reshape.h"

namespace {

// The file's name without its extension.
std::string StemOf(const std::string& path) {
    const std::string name = FileNameOf(path);
    return name.substr(0, name.rfind('.'));
}

FramesBetween BetweenOf(bool spectral) {
    return spectral ? FramesBetween::Spectral : FramesBetween::Crossfade;
}

// The choices the export dialog's fields make; empty when they can be written,
// else what is wrong. Only the target that uses them reads the slot and the
// custom layout.
std::string ChoicesOf(const ExportDialog& fields, ExportChoices& choices) {
    if (fields.target < 0 || static_cast<size_t>(fields.target) >= ExportTargetCount ||
        fields.bits < 0 || fields.bits > 2 || fields.tag < 0 || fields.tag > 2)
        return "Choose a target and its layout from the lists";
    const ExportTarget& target = ExportTargets[fields.target];
    choices.layout = target.layout;
    choices.between = BetweenOf(fields.spectral);
    choices.loudest = fields.loudest;
    choices.name = fields.name;
    if (target.layout.file == TableFile::Syx) {
        const std::optional<int> slot = ParseWhole(fields.slot, BlofeldFirstSlot, BlofeldLastSlot);
        if (!slot) return "The slot is a number from 80 to 118";
        choices.slot = *slot;
    }
    if (static_cast<size_t>(fields.target) != CustomTarget) return "";
    const int32_t bits[] = {16, 24, 32};
    const FrameTag tags[] = {FrameTag::Clm, FrameTag::Srge, FrameTag::None};
    choices.layout = {
        fields.wt ? TableFile::Wt : TableFile::Wav, ParseWhole(fields.frames, 0, 65535).value_or(0),
        ParseWhole(fields.samples, 0, 65535).value_or(0), bits[fields.bits], tags[fields.tag]};
    return CustomLayoutProblem(choices.layout);
}

const char* FilterOf(TableFile file) {
    switch (file) {
    case TableFile::Wt:
        return "Surge XT wavetable (*.wt)";
    case TableFile::Syx:
        return "SysEx dump (*.syx)";
    case TableFile::Wav:
        break;
    }
    return "Wavefile (*.wav)";
}

} // namespace

std::vector<uint8_t> BuildExportFile(const float* table, const ExportChoices& choices,
                                     const std::string& path) {
    const ExportLayout& layout = choices.layout;
    std::vector<float> frames(static_cast<size_t>(layout.frames) * layout.frameSize);
    ReshapeTable(table, layout.frames, layout.frameSize, choices.between, frames.data());
    if (choices.loudest) ScaleToLoudest(frames.data(), frames.size());
    const std::string name = choices.name.empty() ? StemOf(path) : choices.name;
    return BuildLayoutImage(layout, frames.data(), choices.slot, name);
}

bool LoadForeignTable(const std::string& path, ForeignTable& table, FileError& error) {
    std::vector<uint8_t> bytes;
    if (!LoadWholeFile(path, bytes, error)) return false;
    std::string problem;
    if (ParseForeignTable(bytes.data(), bytes.size(), table, problem)) return true;
    error = {problem, ""};
    return false;
}

void TableFromForeign(const ForeignTable& foreign, int32_t frameSize, bool fit, FramesBetween how,
                      float* table) {
    const auto count = static_cast<int32_t>(foreign.samples.size() / frameSize);
    TableFromFrames(foreign.samples.data(), count, frameSize, fit, how, table);
}

void ExportForCommand(WindowHandle window, CommandId) {
    ExportDialog dialog;
    for (size_t i = 0; i < ExportTargetCount; ++i) dialog.targets.push_back(ExportTargets[i].label);
    dialog.customTarget = static_cast<int>(CustomTarget);
    ExportChoices choices;
    const auto check = [&](const ExportDialog& fields) { return ChoicesOf(fields, choices); };
    if (!AskExportChoices(window, dialog, check)) return;
    const std::string extension = ExtensionOf(choices.layout.file);
    const FileDialog files{true, FilterOf(choices.layout.file), "*." + extension, extension,
                           std::string("wavetable_") + ExportTargets[dialog.target].word + "." +
                               extension};
    SaveNamedThroughDialog(window, files, [&](const std::string& path) {
        return BuildExportFile(Wavetable, choices, path);
    });
}

// The undo snapshot comes first, as for Load Wavetable.
void ImportWavetableCommand(WindowHandle window, CommandId) {
    BeginTableEdit();
    const FileDialog files{false, "Wavetables (*.wt, *.wav, *.syx)", "*.{wt,wav,syx}", "wt"};
    std::string path;
    if (!AskFileName(files, path)) return;
    ForeignTable foreign;
    FileError error;
    if (!LoadForeignTable(path, foreign, error)) {
        ReportFileError(window, error, path);
        return;
    }
    const size_t count = foreign.samples.size();
    ImportTableDialog dialog;
    dialog.fileName = FileNameOf(path);
    dialog.askFrameSize = foreign.frameSize == 0;
    int32_t frameSize = foreign.frameSize;
    if (dialog.askFrameSize) {
        dialog.layout = foreign.layout + ": " + std::to_string(count) + " samples";
        const int32_t proposed = ProposedFrameSize(count);
        dialog.frameSize = proposed > 0 ? std::to_string(proposed) : "";
    } else {
        dialog.layout = foreign.layout + ": " + std::to_string(count / frameSize) + " frames of " +
                        std::to_string(frameSize) + " samples";
    }
    const auto check = [&](const ImportTableDialog& fields) -> std::string {
        if (!fields.askFrameSize) return "";
        const std::optional<int> typed = ParseWhole(fields.frameSize, 2, MaxForeignFrameSize);
        if (!typed) return "The frame size is a whole number from 2 to 65536";
        frameSize = *typed;
        return FrameSizeProblem(count, frameSize);
    };
    if (!AskImportTableChoices(window, dialog, check)) return;
    TableFromForeign(foreign, frameSize, !dialog.keepCount, BetweenOf(dialog.spectral), Wavetable);
}

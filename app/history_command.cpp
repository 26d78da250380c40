#include "app/history_command.h"

#include <algorithm>
#include <vector>

#include "app/live_audition.h"
#include "core/command_ids.h"
#include "core/command_table.h"
#include "core/editor_state.h"
#include "core/history.h"
#include "core/menus.h"
#include "platform/common/file_names.h"
#include "synth/additive.h"

namespace {

// A menu label as a step's name: without its mnemonics and its "...".
std::string StepName(std::string label) {
    std::string name;
    for (char c : label)
        if (c != '&') name += c;
    const size_t dots = name.rfind("...");
    if (dots != std::string::npos && dots + 3 == name.size()) name.erase(dots);
    return name;
}

// What the History dialog puts back on Cancel, bit for bit.
struct DocumentCopy {
    std::vector<float> table, additive, pad;
    std::vector<int32_t> levels;
};

DocumentCopy CopyOfDocument() {
    return {{Wavetable, Wavetable + TableSamples},
            {AdditiveFrame, AdditiveFrame + SamplesPerFrame},
            {PadwaveBuffer, PadwaveBuffer + PadwaveSamples},
            {Harmonics, Harmonics + HarmonicCount}};
}

void PutBack(const DocumentCopy& copy) {
    std::copy(copy.table.begin(), copy.table.end(), Wavetable);
    std::copy(copy.additive.begin(), copy.additive.end(), AdditiveFrame);
    std::copy(copy.pad.begin(), copy.pad.end(), PadwaveBuffer);
    std::copy(copy.levels.begin(), copy.levels.end(), Harmonics);
}

} // namespace

std::string StepLabelOf(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    std::string label;
    if (message == WM_COMMAND) {
        const CommandRow* row = FindOfferedCommand(static_cast<CommandId>(wParam & 0xFFFF));
        if (row && row->refresh && row->changesDocument) label = StepName(row->label);
    } else if (message == WM_LBUTTONUP) {
        label = "Harmonic levels";
    } else if (message == WM_DROPFILES && FindOfferedCommand(CmdImportAudio)) {
        label = "Import Audio " + FileNameOf(reinterpret_cast<const char*>(lParam));
    }
    if (!label.empty()) ForgetDialogAnswer();
    return label;
}

void RecordStep(const std::string& label) {
    if (label.empty()) return;
    RecordHistory(DialogAnswer().empty() ? label : label + " " + DialogAnswer());
}

void HistoryCommand(WindowHandle window, CommandId) {
    const DocumentCopy before = CopyOfDocument();
    HistoryDialog dialog;
    for (int number = 1; number <= HistoryCount(); ++number)
        dialog.rows.push_back(HistoryEntryAt(number));
    dialog.show = [window](int number) {
        ShowHistoryEntry(number);
        SynthesizeAdditive();
        RefreshWindow(window);
        UpdateLiveAudition();
    };
    int chosen = 0;
    const bool taken = AskHistoryEntry(window, dialog, chosen);
    PutBack(before);
    if (!taken) return;
    RestoreHistoryEntry(chosen);
    SynthesizeAdditive();
}

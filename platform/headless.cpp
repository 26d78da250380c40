#include "platform/headless.h"

#include "platform/common/audition_port.h"
#include "platform/common/file_names.h"
#include "platform/common/midi_parser.h"
#include "platform/common/number_answer.h"
#include "platform/common/strips.h"
#include "platform/common/surface.h"
#include "platform/history_dialog.h"

struct AppWindow {
    Surface surface;
    WindowProc procedure = nullptr;
};

std::vector<RecordedMessageBox> HeadlessMessageBoxes;
std::deque<std::optional<std::string>> HeadlessDialogAnswers;
std::vector<FileDialog> HeadlessDialogsShown;
std::deque<std::optional<HeadlessImportAnswer>> HeadlessImportAnswers;
std::vector<RecordedImportDialog> HeadlessImportDialogs;
std::vector<RecordedNumberDialog> HeadlessNumberDialogs;
std::deque<std::optional<HeadlessFormulaAnswer>> HeadlessFormulaAnswers;
std::vector<RecordedFormulaDialog> HeadlessFormulaDialogs;
std::deque<std::optional<HeadlessScriptAnswer>> HeadlessScriptAnswers;
std::vector<RecordedScriptDialog> HeadlessScriptDialogs;
std::vector<std::string> HeadlessSoundCalls;
std::optional<std::string> HeadlessSoundFailure;
std::vector<AuditionEvent> HeadlessAuditionEvents;
bool HeadlessAuditionOpen;
std::optional<std::string> HeadlessAuditionFailure;
int HeadlessAuditionPublishes;
std::vector<AuditionEvent> HeadlessMidiEvents;

namespace {
MidiParser Midi;
}
std::set<int> HeadlessFailingBitmaps;
MenuBar HeadlessMenuBar;
int HeadlessMenuBarBuilds;
int HeadlessInvalidations;
bool HeadlessDestroyed;
std::optional<int> HeadlessQuitCode;

namespace {
AppWindow TheWindow;
}

WindowHandle HeadlessWindow() { return &TheWindow; }

namespace {

// The enabled item of these items or their submenus whose accelerator is `key`.
const MenuItem* ItemWithKey(const std::vector<MenuItem>& items, const std::string& key) {
    for (const MenuItem& item : items) {
        const MenuItem* found = item.submenu.empty() ? nullptr : ItemWithKey(item.submenu, key);
        if (found == nullptr && item.enabled && item.accelerator == key) found = &item;
        if (found != nullptr) return found;
    }
    return nullptr;
}

} // namespace

bool HeadlessPressKey(const std::string& key) {
    const bool shift = key.rfind("Shift+", 0) == 0;
    const std::string arrow = shift ? key.substr(6) : key;
    if (arrow == "Left" || arrow == "Right")
        return TheWindow.procedure(&TheWindow, WM_KEYDOWN, arrow == "Left" ? KeyLeft : KeyRight,
                                   shift ? KeyShiftHeld : 0) != 0;
    for (const MenuPopup& popup : HeadlessMenuBar) {
        const MenuItem* item = ItemWithKey(popup.items, key);
        if (item == nullptr) continue;
        TheWindow.procedure(&TheWindow, WM_COMMAND, item->id, 0);
        return true;
    }
    return false;
}

WindowHandle HeadlessCreateWindow(WindowProc procedure) {
    HeadlessMessageBoxes.clear();
    HeadlessDialogAnswers.clear();
    HeadlessDialogsShown.clear();
    HeadlessImportAnswers.clear();
    HeadlessImportDialogs.clear();
    HeadlessNumberDialogs.clear();
    HeadlessFormulaAnswers.clear();
    HeadlessFormulaDialogs.clear();
    HeadlessScriptAnswers.clear();
    HeadlessScriptDialogs.clear();
    HeadlessSoundCalls.clear();
    HeadlessSoundFailure.reset();
    HeadlessAuditionEvents.clear();
    HeadlessAuditionOpen = false;
    HeadlessAuditionFailure.reset();
    HeadlessAuditionPublishes = 0;
    HeadlessMidiEvents.clear();
    Midi = MidiParser();
    HeadlessFailingBitmaps.clear();
    HeadlessMenuBar.clear();
    HeadlessMenuBarBuilds = 0;
    HeadlessInvalidations = 0;
    HeadlessDestroyed = false;
    HeadlessQuitCode.reset();
    HeadlessHistoryAnswers.clear();
    HeadlessHistoryDialogs.clear();
    TheWindow.surface = Surface();
    TheWindow.procedure = procedure;
    return &TheWindow;
}

void AttachMenuBar(WindowHandle, const MenuBar& bar) {
    HeadlessMenuBar = bar;
    ++HeadlessMenuBarBuilds;
}

void InvalidateWindow(WindowHandle) { ++HeadlessInvalidations; }

void ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption) {
    HeadlessMessageBoxes.push_back({owner, text, caption});
}

bool AskFileName(const FileDialog& dialog, std::string& path) {
    HeadlessDialogsShown.push_back(dialog);
    if (HeadlessDialogAnswers.empty()) return false;
    std::optional<std::string> answer = HeadlessDialogAnswers.front();
    HeadlessDialogAnswers.pop_front();
    if (!answer) return false;
    path = *answer;
    NoteDialogAnswer(FileNameOf(path));
    return true;
}

bool AskImportChoices(WindowHandle, ImportDialog& dialog, const ImportCheck& check) {
    HeadlessImportDialogs.push_back({dialog, {}});
    ImportDialog fields = dialog;
    while (!HeadlessImportAnswers.empty()) {
        const std::optional<HeadlessImportAnswer> answer = HeadlessImportAnswers.front();
        HeadlessImportAnswers.pop_front();
        if (!answer) return false;
        fields.pitch = answer->pitch;
        fields.from = answer->from.value_or(fields.from);
        fields.to = answer->to.value_or(fields.to);
        const std::string refusal = check(fields);
        if (refusal.empty()) {
            dialog = fields;
            return true;
        }
        HeadlessImportDialogs.back().refusals.push_back({refusal, fields});
    }
    return false;
}

bool AskNumber(WindowHandle, const NumberQuestion& question, double& value) {
    HeadlessNumberDialogs.push_back({question, NumberText(value), {}});
    while (!HeadlessDialogAnswers.empty()) {
        const std::optional<std::string> answer = HeadlessDialogAnswers.front();
        HeadlessDialogAnswers.pop_front();
        if (!answer) return false;
        if (const std::optional<double> number = ReadNumberAnswer(*answer, question)) {
            value = *number;
            NoteDialogAnswer(NumberText(value));
            return true;
        }
        HeadlessNumberDialogs.back().refusals.push_back(NumberRangeLine(question));
    }
    return false;
}

bool AskFormula(WindowHandle, FormulaDialog& dialog) {
    HeadlessFormulaDialogs.push_back(
        {dialog.formula, {}, "", BlankSurface(FormulaPreviewWidth, FormulaPreviewHeight)});
    RecordedFormulaDialog& shown = HeadlessFormulaDialogs.back();
    shown.notice = dialog.preview(dialog.formula, shown.preview).notice;
    bool listening = false;
    while (!HeadlessFormulaAnswers.empty()) {
        const std::optional<HeadlessFormulaAnswer> answer = HeadlessFormulaAnswers.front();
        HeadlessFormulaAnswers.pop_front();
        if (!answer) return false;
        if (answer->listen != listening) dialog.listen(listening = answer->listen);
        const FormulaCheck check = dialog.preview(answer->formula, shown.preview);
        shown.notice = check.notice;
        if (check.error.empty()) {
            dialog.formula = answer->formula;
            return true;
        }
        shown.refusals.push_back(check.error);
    }
    return false;
}

bool AskScript(WindowHandle owner, ScriptDialog& dialog) {
    HeadlessScriptDialogs.push_back(
        {dialog.script, {}, "", BlankSurface(FormulaPreviewWidth, FormulaPreviewHeight)});
    RecordedScriptDialog& shown = HeadlessScriptDialogs.back();
    bool listening = false;
    while (!HeadlessScriptAnswers.empty()) {
        std::optional<HeadlessScriptAnswer> answer = HeadlessScriptAnswers.front();
        HeadlessScriptAnswers.pop_front();
        if (!answer) return false;
        if (answer->open && !dialog.open(owner, answer->script)) continue;
        if (answer->listen != listening) dialog.listen(listening = answer->listen);
        const ScriptCheck check = dialog.run(answer->script, dialog.firstFrame, shown.preview);
        shown.notice = check.notice;
        if (check.error.empty()) {
            dialog.script = answer->script;
            return true;
        }
        shown.refusals.push_back(check.error);
    }
    return false;
}

bool PlayLoopingWav(const std::string& path, std::string& reason) {
    HeadlessSoundCalls.push_back("play " + path);
    if (HeadlessSoundFailure) {
        reason = *HeadlessSoundFailure;
        return false;
    }
    return true;
}

void StopSound() { HeadlessSoundCalls.push_back("stop"); }

void InstallAuditionHooks(const AuditionHooks& hooks) { AuditionPortInstall(hooks); }

bool OpenAuditionOutput(std::string& reason) {
    if (HeadlessAuditionOpen) return true;
    if (HeadlessAuditionFailure) {
        reason = *HeadlessAuditionFailure;
        return false;
    }
    AuditionPortStart(HeadlessAuditionRate);
    HeadlessAuditionOpen = true;
    return true;
}

bool SendAuditionEvent(const AuditionEvent& event) {
    HeadlessAuditionEvents.push_back(event);
    return HeadlessAuditionOpen && AuditionPortSend(AuditionSender::Gui, event);
}

uint64_t PublishAuditionMaterial(const AuditionMaterial* material) {
    ++HeadlessAuditionPublishes;
    return AuditionPortPublish(material);
}

bool AuditionMaterialReleased(uint64_t ticket) {
    return !HeadlessAuditionOpen || AuditionPortRetired(ticket);
}

void HeadlessRenderAudition(float* out, int frames) { AuditionPortRender(out, frames); }

void HeadlessFeedMidi(const std::vector<uint8_t>& bytes) {
    for (uint8_t byte : bytes) {
        AuditionEvent event;
        if (!MidiParse(Midi, byte, event)) continue;
        HeadlessMidiEvents.push_back(event);
        AuditionPortSend(AuditionSender::Midi, event);
    }
}

std::string OpenMidiInput() { return ""; }

void DestroyAppWindow(WindowHandle window) {
    HeadlessDestroyed = true;
    window->procedure(window, WM_DESTROY, 0, 0);
}

void PostQuitMessage(int exitCode) { HeadlessQuitCode = exitCode; }

Surface& ClientSurface(WindowHandle window) { return window->surface; }

bool LoadBitmapResource(int id, Bitmap& bitmap) {
    if (HeadlessFailingBitmaps.count(id)) return false;
    return LoadEmbeddedBitmap(id, bitmap);
}

void HeadlessDropFile(const std::string& path) {
    HeadlessWindow()->procedure(HeadlessWindow(), WM_DROPFILES, 0, DroppedPathParam(path));
}

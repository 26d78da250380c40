// The headless backend: no display, no sound card. Message boxes, dialogs, menu
// bars and sound calls are recorded in these globals, and dialog answers come
// from a queue that the test fills. The surface is the same raster as the real
// window's.
#pragma once

#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/audition_events.h"
#include "platform/common/surface.h"
#include "platform/platform.h"
#include "platform/script_dialog.h"

struct RecordedMessageBox {
    WindowHandle owner;
    std::string text;
    std::string caption;
};

extern std::vector<RecordedMessageBox> HeadlessMessageBoxes;
// Answers for the next file and number dialogs, front first: the path or the
// typed text; std::nullopt, or no answer left, cancels. A number dialog refuses
// an answer it cannot take and reads the next one, as a user types again.
extern std::deque<std::optional<std::string>> HeadlessDialogAnswers;
extern std::vector<FileDialog> HeadlessDialogsShown;
// What the next import dialogs answer, front first: the typed pitch, and the
// span's ends, each left as its field holds it where unset; std::nullopt cancels,
// and so does an empty queue. An answer the dialog refuses is followed by the
// next one, typed into the fields as the refused one left them.
struct HeadlessImportAnswer {
    std::string pitch;
    std::optional<double> from;
    std::optional<double> to;
};
extern std::deque<std::optional<HeadlessImportAnswer>> HeadlessImportAnswers;
struct RecordedImportDialog {
    ImportDialog offered; // as the dialog opened
    // The line shown for each refused answer, and the fields as it left them.
    std::vector<std::pair<std::string, ImportDialog>> refusals;
};
extern std::vector<RecordedImportDialog> HeadlessImportDialogs;
struct RecordedNumberDialog {
    NumberQuestion question;
    std::string offered;               // the text the field held when the box opened
    std::vector<std::string> refusals; // the line shown for each refused answer
};
extern std::vector<RecordedNumberDialog> HeadlessNumberDialogs;
// What the next formula dialogs answer, front first: the formula as typed, and
// whether Listen is on from then. An answer with an error is refused, as the
// real dialog refuses OK, and the next one read; std::nullopt, or no answer
// left, cancels.
struct HeadlessFormulaAnswer {
    Formula formula;
    bool listen = false;
};
extern std::deque<std::optional<HeadlessFormulaAnswer>> HeadlessFormulaAnswers;
struct RecordedFormulaDialog {
    Formula offered;
    std::vector<std::string> refusals; // the error shown for each refused answer
    std::string notice;                // the notice of the last formula shown
    Surface preview;                   // the preview raster as the dialog closed
};
extern std::vector<RecordedFormulaDialog> HeadlessFormulaDialogs;
// What the next script dialogs answer, front first: the script as typed, or
// what Open... reads, then Run and OK; an answer whose run fails is refused and
// the next one read; std::nullopt, or no answer left, cancels.
struct HeadlessScriptAnswer {
    WavetableScript script;
    bool open = false;
    bool listen = false;
};
extern std::deque<std::optional<HeadlessScriptAnswer>> HeadlessScriptAnswers;
struct RecordedScriptDialog {
    WavetableScript offered;
    std::vector<std::string> refusals; // the error shown for each refused answer
    std::string notice;                // of the last run
    Surface preview;
};
extern std::vector<RecordedScriptDialog> HeadlessScriptDialogs;
// "play <path>" and "stop", in call order.
extern std::vector<std::string> HeadlessSoundCalls;
// When set, PlayLoopingWav fails with this reason.
extern std::optional<std::string> HeadlessSoundFailure;
// The audition: every event sent, in order, and whether the output is open
// (OpenAuditionOutput opens it at HeadlessAuditionRate unless
// HeadlessAuditionFailure holds a reason). HeadlessRenderAudition renders a
// block as the audio callback does, on whatever thread calls it.
extern std::vector<AuditionEvent> HeadlessAuditionEvents;
extern bool HeadlessAuditionOpen;
extern std::optional<std::string> HeadlessAuditionFailure;
extern int HeadlessAuditionPublishes;
constexpr float HeadlessAuditionRate = 48000.0f;
void HeadlessRenderAudition(float* out, int frames);
// Bytes from the MIDI input, read as the real port reads them; the events
// parsed go to the audition's MIDI queue and into HeadlessMidiEvents.
extern std::vector<AuditionEvent> HeadlessMidiEvents;
void HeadlessFeedMidi(const std::vector<uint8_t>& bytes);
// Bitmap ids whose loading fails.
extern std::set<int> HeadlessFailingBitmaps;
extern MenuBar HeadlessMenuBar;
extern int HeadlessMenuBarBuilds;
extern int HeadlessInvalidations;
extern bool HeadlessDestroyed;
extern std::optional<int> HeadlessQuitCode;

// Clears every record and queue and makes the one window afresh, with a black
// raster, delivering its messages to `procedure`.
WindowHandle HeadlessCreateWindow(WindowProc procedure);
// The one headless window.
WindowHandle HeadlessWindow();
// A key press as the real menu bar takes it: the item of the current menu bar
// whose accelerator is `key` ("Ctrl+Z", "Space", ...) is chosen; false, and
// nothing happens, when no item has it. The arrows ("Left", "Shift+Right")
// go to the window as the real window sends them.
bool HeadlessPressKey(const std::string& key);
// A file dropped on the window, as the real window delivers it.
void HeadlessDropFile(const std::string& path);

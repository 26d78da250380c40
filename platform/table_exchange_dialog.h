// The dialogs of Export For and Import Wavetable: plain fields that the
// editor fills and checks; the FLTK backend and the headless one run them.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

// Export For: the target and how frames are made; for "Custom" its layout,
// for the Blofeld the name and the slot. Texts are as typed.
struct ExportDialog {
    std::vector<std::string> targets; // the labels, in order
    int target = 0;
    bool spectral = false; // frames between by Spectral Morph, else Crossfade
    bool loudest = true;   // "Loudest sample at -0.1 dBFS"
    std::string name;      // empty: the file's name
    std::string slot = "80";
    int customTarget = 0; // the index of "Custom" among the targets
    std::string frames = "64";
    std::string samples = "2048";
    int bits = 2;    // 0: 16-bit, 1: 24-bit, 2: 32-bit float
    int tag = 2;     // 0: "clm ", 1: "srge", 2: none
    bool wt = false; // a .wt file, else WAV
};

// Import Wavetable: what the file is, the frame size where the file names
// none (then `askFrameSize`), and how its frames become the table's 100.
struct ImportTableDialog {
    std::string fileName;
    std::string layout; // e.g. "Surge XT .wt, 32-bit float: 100 frames of 1024 samples"
    bool askFrameSize = false;
    std::string frameSize;  // as typed, offered with the proposed size
    bool keepCount = false; // "Keep frame count", else "Fit to 100 frames"
    bool spectral = false;
};

// What OK runs on a dialog's fields: empty when they are taken and the dialog
// closes, else the line the dialog shows as it stays open.
template <typename Dialog> using DialogCheck = std::function<std::string(const Dialog& fields)>;

// Run the dialogs; false when the user cancels, true once `check` took the
// fields, which are then in the dialog.
bool AskExportChoices(WindowHandle owner, ExportDialog& dialog,
                      const DialogCheck<ExportDialog>& check);
bool AskImportTableChoices(WindowHandle owner, ImportTableDialog& dialog,
                           const DialogCheck<ImportTableDialog>& check);

// The headless backend: each dialog takes the next answer, front first, which
// changes the fields as the user would; an empty answer, or none left,
// cancels, and an answer the check refuses is followed by the next one. The
// dialogs as they opened and the refusals are recorded.
extern std::deque<std::function<void(ExportDialog&)>> HeadlessExportAnswers;
extern std::vector<ExportDialog> HeadlessExportDialogs;
extern std::deque<std::function<void(ImportTableDialog&)>> HeadlessImportTableAnswers;
extern std::vector<ImportTableDialog> HeadlessImportTableDialogs;
extern std::vector<std::string> HeadlessTableDialogRefusals;

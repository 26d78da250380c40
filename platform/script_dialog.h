// The script dialog: a wavetable script in Surge XT's Lua API as the user
// edits it, with its Frames and Samples fields, Open... and Save... of
// .wtscript files, Run, a preview of the frame a slider chooses, Listen,
// Cancel and OK.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// Frames: 0 for the count of the range the script fills.
constexpr int32_t ScriptFramesOfRange = 0;

// The script offered until another is taken: a Fourier saw that adds one
// harmonic a frame.
extern const char DefaultScriptText[];

struct WavetableScript {
    std::string lua = DefaultScriptText;
    int32_t frames = ScriptFramesOfRange;
    int32_t samples = 1024;
};

// What the editor tells of a run.
struct ScriptCheck {
    std::string error;  // "line 7: ...": shown in red, and OK is refused
    std::string notice; // "3 samples were not numbers and became 0", the script's name
};

struct ScriptDialog {
    WavetableScript script; // offered, Frames filled in; OK leaves the one taken
    int32_t firstFrame = 0; // the range the slider runs over (0-based)
    int32_t lastFrame = 0;
    // Run (and Ctrl+Enter): runs the script and draws frame `shown` of the
    // result into `raster` (FormulaPreviewWidth x FormulaPreviewHeight).
    ScriptCheck (*run)(const WavetableScript& script, int32_t shown, Surface& raster) = nullptr;
    // The slider moved: draws frame `shown` of the last result.
    void (*show)(int32_t shown, Surface& raster) = nullptr;
    void (*listen)(bool on) = nullptr;
    // Open...: asks for a .wtscript file and reads it into `script`; false,
    // after an "Error" box, when it cannot, or when the user cancelled.
    bool (*open)(WindowHandle owner, WavetableScript& script) = nullptr;
    // Save...: asks for a file name and writes `script` there.
    void (*save)(WindowHandle owner, const WavetableScript& script) = nullptr;
};

// Runs the script dialog; true when OK took a script that ran without an
// error (OK runs it first when it has changed since the last run).
bool AskScript(WindowHandle owner, ScriptDialog& dialog);

// The live audition's editor side: keeps the engine's material and play mode
// in step with the document and the view, and owns the sound output's opening
// and the MIDI input. Runs on the GUI thread; the engine itself runs on the
// audio thread. The computer keys are app/audition_keys.h.
#pragma once

#include <functional>

#include <string>

#include "platform/platform.h"

// Gives the engine to the port layer; once, before the first window is made.
void StartLiveAudition();
// After every message that may have changed the table, the additive frame, the
// pad, the view or the knobs: publishes a rebuilt material when the samples
// changed, the play mode unless the engine already has it, and frees what the
// audio thread has let go.
void UpdateLiveAudition();
// Runs `ask`, a dialog that previews a table: `preview` (100 frames) starts as
// a copy of the document's table, and the audition plays it in the table's
// place from the next UpdateLiveAudition until the dialog ends, when its
// Listen note (below) ends too. Returns what `ask` returned.
bool AskWithPreview(WindowHandle window, float* preview, const std::function<bool()>& ask);
// The material the audition plays now; nullptr before the first.
const AuditionMaterial* LiveAuditionMaterial();
// A dialog's Listen toggle: holds A3 on the audition while on (opening the
// output as a first note does), and ends it when turned off.
void ListenToPreview(WindowHandle window, bool on);
// Sends the view's play mode unless the engine has already received it.
void SyncAuditionMode();
// Opens the sound output at the first note; a failure is told once. True when
// the output runs.
bool EnsureAuditionOutput(WindowHandle window);

// The menu's Sweep Time items.
void ChooseSweepTime(WindowHandle window, CommandId id);
bool SweepTimeChecked(CommandId id);
// The text of the disabled MIDI item: the port's name, or that there is none.
std::string MidiStatusLabel(CommandId id);
// Opens the MIDI input; its name then shows in the menu.
void StartMidiInput();

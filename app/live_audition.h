// The live audition's editor side: keeps the engine's material and play mode
// in step with the document and the view, and plays notes from the computer
// keys. Runs on the GUI thread; the engine itself runs on the audio thread.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Gives the engine to the port layer; once, before the first window is made.
void StartLiveAudition();
// After every message that may have changed the table, the additive frame, the
// pad, the view or the knobs: publishes a rebuilt material when the samples
// changed, a new play mode when it changed, and frees what the audio thread
// has let go.
void UpdateLiveAudition();
// A computer key pressed or released (the key as WM_KEYDOWN gives it). True
// when the key plays the audition (a note key, Z or X).
bool AuditionKeyDown(WindowHandle window, int key);
void AuditionKeyUp(int key);
// Ends every note the computer keys hold.
void ReleaseAuditionKeys();
// Stop: every audition voice falls silent at once.
void SilenceAudition();

// The Wavetable view's sweep from one knob frame to the other, in seconds.
extern float SweepSeconds;
// The menu's Sweep Time items.
void ChooseSweepTime(WindowHandle window, CommandId id);
bool SweepTimeChecked(CommandId id);
// The text of the disabled MIDI item: the port's name, or that there is none.
extern char MidiMenuLabel[80];
// Opens the MIDI input; its name then shows in the menu.
void StartMidiInput();

// The document and the editor state: one static instance of each, alive for the
// whole run and touched only by the GUI thread.
#pragma once

#include <cstdint>

#include "core/table_shape.h"
#include "platform/formula_texts.h"
#include "platform/script_dialog.h"

constexpr int HarmonicCount = 32;

// ViewMode values; view tab i selects 4000 + i.
enum : int32_t {
    ViewWaveform = 4000,
    ViewWavetable = 4001,
    ViewAdditive = 4002,
    ViewPadwave = 4003,
};

// Sample buffers, all zero at program start.
extern float Wavetable[TableSamples];    // frame k is samples k*1024 .. k*1024+1023
extern float UndoSnapshot[TableSamples]; // whole-table copy taken before every table edit
extern float FrameClipboard[SamplesPerFrame];
extern float TableClipboard[TableSamples];
extern float AdditiveFrame[SamplesPerFrame];
extern float PadwaveBuffer[PadwaveSamples];

extern int32_t ViewMode;
extern int32_t CurrentFrame;         // "Wave" knob frame, 0..99
extern int32_t OffsetFrame;          // "Offset" knob frame, 0..99
extern int32_t PadwaveValue;         // "Padwave" knob value passed to Generate, 0..99
extern uint8_t PadwaveTimes10;       // 0 or 1: Generate uses PadwaveValue x 10
extern int32_t Polarity;             // 1 = Positive, 0 = Negative
extern int32_t PartialLimit;         // bound on the partials of Saw, Triangle and Square
extern int32_t TableClipboardLength; // samples stored by the last Wavetable-view Copy

// Harmonic levels: index 0 is harmonic 1; 0 = full amplitude, 100 = silent.
constexpr int32_t FullLevel = 0;
constexpr int32_t SilentLevel = 100;
extern int32_t Harmonics[HarmonicCount];
extern int32_t HarmonicSnapshot[HarmonicCount]; // Additive view undo copy and clipboard

// The edit range: sample indices into the Wavetable. ComputeEditRange overwrites
// only the fields of the current view; the others keep their last values.
extern int32_t RangeStart;     // first sample of the range's first frame
extern int32_t FirstFrameEnd;  // RangeStart + 1024
extern int32_t LastFrameStart; // first sample of the range's last frame
extern int32_t RangeEnd;       // LastFrameStart + 1024

// The Wavetable view's sweep from one knob frame to the other, in seconds.
extern float SweepSeconds;

// The formula the Formula dialog offers: the last one taken, or a project's.
extern Formula CurrentFormula;
// The script the Script dialog offers: the last one taken, or a project's.
extern WavetableScript CurrentScript;

// The next paint fills the panel and display backgrounds first, then clears it.
extern bool FullRepaint;

void ComputeEditRange();
void TakeUndoSnapshot();
void RestoreUndoSnapshot();
void ResetWavetable();
void ClearPadwave();
void SaveHarmonicSnapshot();
// Harmonic 1 at level 0 (full), harmonics 2..32 at 100 (silent); resets the
// slider geometry.
void ResetHarmonics();
// What every table edit, generator and load does first: the undo snapshot,
// then the edit range, before anything is read or written.
void BeginTableEdit();
void NewDocument();

#include "core/editor_state.h"

#include <algorithm>

#include "core/panel.h"

float Wavetable[TableSamples];
float UndoSnapshot[TableSamples];
float FrameClipboard[SamplesPerFrame];
float TableClipboard[TableSamples];
float AdditiveFrame[SamplesPerFrame];
float PadwaveBuffer[PadwaveSamples];

int32_t ViewMode;
int32_t CurrentFrame;
int32_t OffsetFrame;
int32_t PadwaveValue;
uint8_t PadwaveTimes10;
int32_t Polarity;
int32_t PartialLimit;
int32_t TableClipboardLength;

int32_t Harmonics[HarmonicCount];
int32_t HarmonicSnapshot[HarmonicCount];

int32_t RangeStart;
int32_t FirstFrameEnd;
int32_t LastFrameStart;
int32_t RangeEnd;

float SweepSeconds = 2.0f;

Formula CurrentFormula;
WavetableScript CurrentScript;

bool FullRepaint;

void ComputeEditRange() {
    if (ViewMode == ViewWaveform) {
        RangeStart = CurrentFrame * SamplesPerFrame;
        FirstFrameEnd = RangeStart + SamplesPerFrame;
    } else if (ViewMode == ViewWavetable) {
        const int32_t lo = std::min(CurrentFrame, OffsetFrame);
        const int32_t hi = std::max(CurrentFrame, OffsetFrame);
        RangeStart = lo * SamplesPerFrame;
        FirstFrameEnd = RangeStart + SamplesPerFrame;
        LastFrameStart = hi * SamplesPerFrame;
        RangeEnd = LastFrameStart + SamplesPerFrame;
    }
}

void TakeUndoSnapshot() { std::copy(Wavetable, Wavetable + TableSamples, UndoSnapshot); }

void RestoreUndoSnapshot() { std::copy(UndoSnapshot, UndoSnapshot + TableSamples, Wavetable); }

void ResetWavetable() {
    std::fill(Wavetable, Wavetable + TableSamples, 0.0f);
    CurrentFrame = 0;
    OffsetFrame = 0;
}

void ClearPadwave() { std::fill(PadwaveBuffer, PadwaveBuffer + PadwaveSamples, 0.0f); }

void SaveHarmonicSnapshot() { std::copy(Harmonics, Harmonics + HarmonicCount, HarmonicSnapshot); }

void ResetHarmonics() {
    Harmonics[0] = FullLevel;
    std::fill(Harmonics + 1, Harmonics + HarmonicCount, SilentLevel);
    InitSliderGeometry();
}

void BeginTableEdit() {
    TakeUndoSnapshot();
    ComputeEditRange();
}

// The order matters: the undo snapshot is taken before the table is cleared, so
// Undo after New brings the previous table back.
void NewDocument() {
    CurrentFrame = 0;
    ViewMode = ViewWaveform;
    FullRepaint = true;
    PartialLimit = 256;
    Polarity = 1;
    ResetHarmonics();
    SaveHarmonicSnapshot();
    PadwaveValue = 8;
    PadwaveTimes10 = 0;
    TakeUndoSnapshot();
    ComputeEditRange();
    ClearPadwave();
    ResetWavetable();
    InitKnobs();
    InitViewTabs();
    PressGuard = false;
    CurrentFormula = Formula();
    CurrentScript = WavetableScript();
}

// The sample edits of the Edit menu. Each has a Frame variant (Waveform view,
// the current frame) and a Range variant (Wavetable view, the frames between
// the two knobs). Every one first takes the undo snapshot, then computes the
// edit range.
#pragma once

void AmplifyFrame();
void AmplifyRange();
void AttenuateFrame();
void AttenuateRange();
void InvertFrame();
void InvertRange();
void ReverseFrame();
void ReverseRange();
void NormalizeFrame();
void NormalizeRange();
void CutFrame();
void CutRange();
void CopyFrame();
void CopyRange();
void PasteFrame();
void PasteRange();
void PasteMixFrame();
void PasteMixRange();
void ClearFrame();
void ClearTable();

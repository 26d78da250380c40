// The Edit menu's commands that process the frames of the edit range one by
// one or fill the gaps between them, in the command table's handler shape.
#pragma once

#include "platform/platform.h"

// Fill Gaps and Fill Gaps Spectral; with fewer than two frames with sound in
// the range, a message and nothing else.
void FillGapsCommand(WindowHandle window, CommandId id);
// Remove DC, Normalize Each and Align Phase.
void EachFrameCommand(WindowHandle window, CommandId id);
// Low Pass..., High Pass..., Harmonic Shift... and Wave Fold...: each asks for
// its number, offering the last one it took in this run; Cancel changes
// nothing and takes no undo snapshot.
void AskedFrameCommand(WindowHandle window, CommandId id);

// Formula...: computes the frames an edit works on from a formula typed in
// the formula dialog, previewed and heard while it is typed.
#pragma once

#include "platform/platform.h"

// Offers CurrentFormula. While the dialog is open the audition (Listen's note,
// MIDI notes) plays the previewed frames; Listen holds A3. OK takes the undo
// snapshot, writes the frames and keeps the formula as CurrentFormula; Cancel
// changes nothing and takes no snapshot. Either ends the Listen note.
void FormulaCommand(WindowHandle window, CommandId id);

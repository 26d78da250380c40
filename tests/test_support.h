// Helpers shared by the tests: a fresh editor and a few table shorthands.
#pragma once

#include <cstdint>

#include "core/editor_state.h"
#include "platform/headless.h"

// Runs NewDocument on the headless backend with every record cleared, and
// fills the clipboards, undo snapshot and additive frame with zeros, as at program start.
void FreshEditor();

// Sends a menu command through the window procedure, as a menu choice does.
void Command(uint16_t id);

float* FrameAt(int frame);
// Fills frame `frame` with value(frame, n).
void FillFrame(int frame, float value);
// Writes a recognisable value into every sample: frame * 1000 + n.
void FillTableWithIndices();

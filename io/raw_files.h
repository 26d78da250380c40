// The raw formats: the whole table as little-endian floats ("*.txt") and the
// 32 harmonic levels as little-endian 32-bit integers ("*.add").
#pragma once

#include "platform/platform.h"

void WaveDataWriter(WindowHandle owner);
// Reads a file that WaveDataWriter wrote back into the whole table, bit for
// bit, after the undo snapshot. A file that cannot be read or is not exactly
// the table's size is reported and changes nothing, the undo snapshot included.
void WaveDataReader(WindowHandle owner);
void HarmonicsWriter(WindowHandle owner);
// Takes the undo snapshot and resets the levels once a file is chosen, then
// loads the levels the file holds; the caller rebuilds the additive frame.
void HarmonicsReader(WindowHandle owner);

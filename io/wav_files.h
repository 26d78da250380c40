// Saving ranges of samples as WAV files and loading them back into the table.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Asks for a file name and saves source[first .. end - 1] at 44100 Hz with a
// loop from loopStart to loopEnd, the indices of its first and last samples.
void WavWriter(WindowHandle owner, const float* source, int32_t first, int32_t end, int32_t loopStart,
               int32_t loopEnd);

// Asks for a WAV file and fills Wavetable[first .. end - 1] from it.
void WavReader(WindowHandle owner, int32_t first, int32_t end);

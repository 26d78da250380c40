// Saving ranges of samples as WAV files and loading them back into the table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "io/file_access.h"
#include "io/file_decoding.h"
#include "io/wav_format.h"
#include "platform/platform.h"

// Asks for a file name and saves source[first .. end - 1] at 44100 Hz with a
// loop from loopStart to loopEnd, the indices of its first and last samples;
// the dialog suggests `suggestedName`.
void WavWriter(WindowHandle owner, const float* source, int32_t first, int32_t end,
               int32_t loopStart, int32_t loopEnd, WavPurpose purpose, const char* suggestedName);

// Asks for a file name and exports all 100 frames, each made 2048 samples long
// by trigonometric interpolation, as 32-bit float frames tagged for wavetable
// synthesizers that cut files into 2048-sample frames.
void Export2048Writer(WindowHandle owner);
// The file Export 2048 Wavetable writes, of the 100 frames at `table`.
std::vector<uint8_t> BuildExport2048Image(const float* table);

// Asks for a WAV file and fills `frameCount` frames of the table from frame
// `firstFrame` on, taking the frame size the file declares into account. A file
// that cannot be read leaves the table as it was and is reported.
void WavReader(WindowHandle owner, int32_t firstFrame, int32_t frameCount);
// The reading half of WavReader, without dialog or message: fills `frameCount`
// frames at `out`, or returns false with what failed (and the system's reason,
// where there is one) and leaves `out` as it was. `described`, when given,
// receives what the file declares (its frame size, its sample count).
bool ReadWavFrames(const std::string& path, float* out, int32_t frameCount, FileError& error,
                   WavContent* described = nullptr);

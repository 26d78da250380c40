// Filling frames of the table from a parsed WAV file, whatever its frame size.
#pragma once

#include <cstdint>

#include "io/file_decoding.h"

// Untagged single cycles of these lengths load as one whole cycle.
constexpr uint64_t ShortestCycle = 32;
constexpr uint64_t LongestCycle = 4096;

// Fills `frameCount` frames of 1024 samples at `out` (1 for Load Waveform, 100
// for Load Wavetable) from the file's samples:
// - A file that declares frames of F samples holds M = samples / F of them (at
//   least the one it begins, zero-filled). With M up to frameCount, frames
//   0 .. M - 1 are filled and the rest are zeros; with more, frame i takes
//   source frame round(i x (M - 1) / (frameCount - 1)), so a long sweep keeps
//   its whole journey. Frames of other lengths than 1024 are resampled.
// - An untagged complete file of 32 to 4096 samples other than 1024, loaded
//   into one frame, is a single cycle and is resampled to 1024.
// - Any other file fills the frames sample by sample, zeros where it ends.
void ImportFrames(const uint8_t* data, const WavContent& content, float* out, int32_t frameCount);

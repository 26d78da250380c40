// Turning the bytes of loaded files into samples and harmonic levels. Pure
// functions of the bytes, so any input, however broken, is safe to hand them.
#pragma once

#include <cstddef>
#include <cstdint>

// Accepts the bytes as a WAV file when they begin with "RIFF" or carry "WAVE"
// at byte 8, and then fills all `count` samples of `out` from the first channel
// of the "data" chunk (samples at byte 44 when there is none), on the scale of
// 16-bit files: value x 0.00002. Samples the file does not hold become 0.
// Returns false, leaving `out` alone, when neither tag is there.
bool DecodeWavSamples(const uint8_t* data, size_t size, float* out, int32_t count);

// Reads the 32 little-endian levels; levels without 4 bytes keep their value.
void DecodeHarmonics(const uint8_t* data, size_t size, int32_t* levels);

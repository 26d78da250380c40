// Plain, literal versions of the synthesis loops: every harmonic, every bin and
// every sample visited in the straightforward order, with no skipping, no
// threads and no reordering. The tests compare the program's fast paths with
// them bit for bit, and the benchmarks measure against them.
#pragma once

#include <cstdint>

// Writes AdditiveFrame from Harmonics and Polarity, one harmonic after another.
void LiteralSynthesizeAdditive();

// The padwave exactly as its steps read: every bin of every harmonic, the
// literal bit-reversal and stage loops, cos and sin for every bin.
void LiteralComplexFft(float* data, int32_t nn, int32_t direction);
void LiteralSynthesizePadwave(int32_t n, int32_t rate, float baseFrequency, float bandwidthCents,
                              int32_t harmonicCount, const float* amplitudes);
void LiteralGeneratePadwave(int32_t bandwidthCents);

// The synthesis loops as plainly written: every harmonic, bin and sample in order, nothing skipped,
// no threads. The tests hold the fast paths to their bits; the benchmarks measure against them.
#pragma once

#include <cstdint>

void LiteralSynthesizeAdditive(); // AdditiveFrame from Harmonics and Polarity
void LiteralComplexFft(float* data, int32_t nn, int32_t direction);
void LiteralGeneratePadwave(int32_t bandwidthCents); // PadwaveBuffer, drawing n / 2 random values

// The synthesis loops as plainly written, that the fast paths are held to bit for bit.
#pragma once

#include <cstdint>

void LiteralSynthesizeAdditive(); // AdditiveFrame from Harmonics and Polarity
void LiteralComplexFft(float* data, int32_t nn, int32_t direction);
void LiteralGeneratePadwave(int32_t bandwidthCents); // PadwaveBuffer, drawing n / 2 random values

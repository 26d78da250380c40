// Changing the length of single cycles by trigonometric (band-limited periodic)
// interpolation, for tables whose frames are not 1024 samples long.
#pragma once

#include <cstdint>
#include <functional>

// Fills `buffer` with the inLength samples of cycle `index`.
using CycleSource = std::function<void(int32_t index, double* buffer)>;

// Resamples `count` cycles of inLength samples each to outLength samples each;
// cycle i goes to out[i x outLength ...]. Each cycle's spectrum keeps the bins
// both lengths can hold. Going up, the Nyquist bin of an even inLength is split
// half and half onto its two mirror bins; going down, the two bins at
// +-outLength / 2 add into the new Nyquist bin. So 1024 -> 2048 -> 1024 gives
// the cycle back, and even samples of 1024 -> 2048 are the source samples. The
// transforms (FFTW) run in double precision; results are rounded to single.
void ResampleCycles(int32_t inLength, int32_t outLength, int32_t count, const CycleSource& source,
                    float* out);

// Small sample operations shared by the edits, the generators and additive
// synthesis.
#pragma once

#include <cstdint>
#include <cstring>

// Negates by flipping the sign bit: 0.0 becomes -0.0, and flipping twice
// restores every bit (NaN payloads included).
// Scales the run so that its largest magnitude becomes 0.5 / 1.4142; the
// measured peak has a floor of 0.00001, so a run of zeros stays zero.
void PeakNormalize(float* samples, int32_t count);

inline void FlipSigns(float* samples, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        uint32_t bits;
        std::memcpy(&bits, &samples[i], sizeof bits);
        bits ^= 0x80000000u;
        std::memcpy(&samples[i], &bits, sizeof bits);
    }
}

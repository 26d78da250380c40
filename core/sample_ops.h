// Small sample operations shared by the edits and the generators.
#pragma once

#include <cstdint>
#include <cstring>

// Negates by flipping the sign bit: 0.0 becomes -0.0, and flipping twice
// restores every bit (NaN payloads included).
inline void FlipSigns(float* samples, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        uint32_t bits;
        std::memcpy(&bits, &samples[i], sizeof bits);
        bits ^= 0x80000000u;
        std::memcpy(&samples[i], &bits, sizeof bits);
    }
}

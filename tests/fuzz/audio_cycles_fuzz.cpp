// The pitch tracker and cycle cutter over any samples, length, rate, pitch and frame count.
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/editor_state.h"
#include "io/cycle_extract.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    uint16_t rateBits, pitchBits;
    std::memcpy(&rateBits, data, 2);
    std::memcpy(&pitchBits, data + 2, 2);
    const int32_t rate = 1000 + rateBits * 3;                     // 1 kHz .. 197 kHz
    const double pitch = (pitchBits & 1) ? pitchBits * 0.5 : 0.0; // typed or tracked
    const int32_t count = (data[4] & 1) ? 1 : FrameCount;
    const size_t samples = (size - 8) / sizeof(float);
    std::vector<float> sound(samples);
    if (samples > 0) std::memcpy(sound.data(), data + 8, samples * sizeof(float));
    std::vector<float> frames(static_cast<size_t>(count) * SamplesPerFrame, 0.0f);
    double found = 0.0;
    const CycleStatus status = BuildCycles(sound.data(), static_cast<int64_t>(samples), rate, pitch,
                                           count, frames.data(), found);
    if (status == CycleStatus::Ok)
        for (float s : frames)
            if (!(s >= -1.0f && s <= 1.0f)) __builtin_trap(); // normalized, never NaN
    return 0;
}

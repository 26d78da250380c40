// Any bytes at all, decoded as a WAV file into one frame or (inputs of odd
// length) the whole table: no crash, no reads outside the bytes, and only
// finite samples.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/editor_state.h"
#include "io/file_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static float table[TableSamples];
    const int32_t count = size % 2 ? TableSamples : SamplesPerFrame;
    if (DecodeWavSamples(data, size, table, count)) {
        for (int32_t i = 0; i < count; ++i)
            if (!std::isfinite(table[i])) __builtin_trap();
    }
    return 0;
}

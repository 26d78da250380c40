// Any bytes at all, decoded as a harmonics file: levels the bytes do not
// cover keep their value.
#include <cstddef>
#include <cstdint>

#include "core/editor_state.h"
#include "io/file_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int32_t levels[HarmonicCount];
    for (int32_t& level : levels) level = 100;
    DecodeHarmonics(data, size, levels);
    for (size_t i = size / 4; i < HarmonicCount; ++i)
        if (levels[i] != 100) __builtin_trap();
    return 0;
}

// Any bytes as a WAV file imported into one frame or (odd lengths) the whole table, whatever
// frame size a "clm " or "srge" chunk declares: no crash, no read outside, finite samples.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/editor_state.h"
#include "io/file_decoding.h"
#include "io/frame_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static float table[TableSamples];
    const int32_t frames = size % 2 ? FrameCount : 1;
    WavContent content;
    if (ParseWav(data, size, content) != WavStatus::Ok) return 0;
    if (content.count == 0 || content.frameSize < 0 || content.frameSize > MaxDeclaredFrameSize)
        __builtin_trap();
    ImportFrames(data, content, table, frames);
    for (int32_t i = 0; i < frames * SamplesPerFrame; ++i)
        if (!std::isfinite(table[i])) __builtin_trap();
    return 0;
}

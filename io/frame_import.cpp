#include "io/frame_import.h"

#include <algorithm>

#include "core/editor_state.h"
#include "io/resample.h"

namespace {

// Cycle i of a resampling reads `length` samples from sample first(i) on; past
// the file's end it reads zeros.
template <typename First>
CycleSource SamplesFrom(const uint8_t* data, const WavContent& content, uint64_t length,
                        First first) {
    return [=, &content](int32_t i, double* buffer) {
        const uint64_t start = first(i);
        for (uint64_t j = 0; j < length; ++j) {
            const uint64_t at = start + j;
            buffer[j] = at < content.count ? WavSample(data, content, at) : 0.0;
        }
    };
}

void ImportDeclaredFrames(const uint8_t* data, const WavContent& content, float* out,
                          int32_t frameCount) {
    const uint64_t size = static_cast<uint64_t>(content.frameSize);
    const uint64_t frames = std::max<uint64_t>(content.count / size, 1);
    const uint64_t last = static_cast<uint64_t>(frameCount) - 1;
    const int32_t filled = static_cast<int32_t>(std::min<uint64_t>(frames, frameCount));
    auto sourceFrame = [frames, last](int32_t i) {
        const uint64_t k = static_cast<uint64_t>(i);
        if (frames <= last + 1 || k == 0) return k;
        return (2 * k * (frames - 1) + last) / (2 * last); // round(k x (frames - 1) / last)
    };
    ResampleCycles(
        content.frameSize, SamplesPerFrame, filled,
        SamplesFrom(data, content, size, [&](int32_t i) { return sourceFrame(i) * size; }), out);
    std::fill(out + static_cast<size_t>(filled) * SamplesPerFrame,
              out + static_cast<size_t>(frameCount) * SamplesPerFrame, 0.0f);
}

} // namespace

void ImportFrames(const uint8_t* data, const WavContent& content, float* out, int32_t frameCount) {
    if (content.frameSize > 0) {
        ImportDeclaredFrames(data, content, out, frameCount);
        return;
    }
    const uint64_t count = content.count;
    if (frameCount == 1 && content.complete && count >= ShortestCycle && count <= LongestCycle &&
        count != SamplesPerFrame) {
        ResampleCycles(static_cast<int32_t>(count), SamplesPerFrame, 1,
                       SamplesFrom(data, content, count, [](int32_t) { return uint64_t{0}; }), out);
        return;
    }
    const uint64_t total = static_cast<uint64_t>(frameCount) * SamplesPerFrame;
    for (uint64_t i = 0; i < total; ++i) out[i] = i < count ? WavSample(data, content, i) : 0.0f;
}

#include "synth/table_reshape.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/table_shape.h"

void ReshapeTable(const float* table, int32_t frames, int32_t frameSize, FramesBetween how,
                  float* out) {
    std::vector<float> placed(static_cast<size_t>(frames) * SamplesPerFrame);
    MakeFramesBetween(table, FrameCount, frames, how, placed.data());
    BandLimitCycles(placed.data(), SamplesPerFrame, frames, frameSize, out);
}

void ScaleToLoudest(float* samples, size_t count) {
    const float loudest = 0.98855309f; // 10^(-0.1/20)
    float peak = 0.0f;
    for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::fabs(samples[i]));
    if (peak == 0.0f) return;
    const float gain = loudest / peak;
    for (size_t i = 0; i < count; ++i) samples[i] = samples[i] * gain;
}

void FitFrames(const float* frames, int32_t count, int32_t frameSize, int32_t to, FramesBetween how,
               float* out) {
    std::vector<float> limited(static_cast<size_t>(count) * SamplesPerFrame);
    BandLimitCycles(frames, frameSize, count, SamplesPerFrame, limited.data());
    MakeFramesBetween(limited.data(), count, to, how, out);
}

void TableFromFrames(const float* frames, int32_t count, int32_t frameSize, bool fit,
                     FramesBetween how, float* table) {
    if (fit) {
        FitFrames(frames, count, frameSize, FrameCount, how, table);
        return;
    }
    std::vector<float> limited(static_cast<size_t>(count) * SamplesPerFrame);
    BandLimitCycles(frames, frameSize, count, SamplesPerFrame, limited.data());
    const size_t kept = static_cast<size_t>(std::min(count, FrameCount)) * SamplesPerFrame;
    std::copy_n(limited.data(), kept, table);
    std::fill(table + kept, table + TableSamples, 0.0f);
}

#include "synth/frames_between.h"

#include <algorithm>
#include <vector>

#include "core/fft_plans.h"
#include "core/table_shape.h"
#include "synth/spectral_morph.h"

namespace {

const float* FrameAt(const float* table, int32_t f) {
    return table + static_cast<size_t>(f) * SamplesPerFrame;
}

void Crossfade(const float* a, const float* b, float t, float* out) {
    for (int32_t i = 0; i < SamplesPerFrame; ++i) out[i] = (1.0f - t) * a[i] + t * b[i];
}

} // namespace

void MakeFramesBetween(const float* source, int32_t from, int32_t to, FramesBetween how,
                       float* out) {
    const int32_t steps = std::max(to - 1, 1);
    for (int32_t j = 0; j < to; ++j) {
        // p in whole numbers: frame `lower` and the remainder of the division.
        const int32_t numerator = j * (from - 1);
        const int32_t lower = numerator / steps;
        const int32_t remainder = numerator % steps;
        float* frame = out + static_cast<size_t>(j) * SamplesPerFrame;
        const float* a = FrameAt(source, lower);
        if (remainder == 0) {
            std::copy_n(a, SamplesPerFrame, frame);
            continue;
        }
        const float t = static_cast<float>(remainder) / static_cast<float>(steps);
        const float* b = FrameAt(source, lower + 1);
        if (how == FramesBetween::Crossfade) {
            Crossfade(a, b, t, frame);
        } else {
            SpectralFade fade;
            PrepareSpectralFade(a, b, fade);
            SpectralFadeAt(fade, t, frame);
        }
    }
}

void BandLimitCycles(const float* in, int32_t inLength, int32_t count, int32_t outLength,
                     float* out) {
    const int32_t highest = std::min((inLength - 1) / 2, (outLength - 1) / 2);
    double* samples = fftw_alloc_real(std::max(inLength, outLength));
    fftw_complex* bins = fftw_alloc_complex(std::max(inLength, outLength) / 2 + 1);
    const fftw_plan forward = PlanForward(inLength, samples, bins);
    const fftw_plan backward = PlanBackward(outLength, bins, samples);
    for (int32_t c = 0; c < count; ++c) {
        const float* cycle = in + static_cast<size_t>(c) * inLength;
        std::copy_n(cycle, inLength, samples);
        fftw_execute(forward);
        // The backward transform is unscaled: dividing by the input's length
        // keeps each harmonic's amplitude at any output length.
        bins[0][0] = bins[0][1] = 0.0;
        std::fill_n(&bins[highest + 1][0], 2 * (outLength / 2 - highest), 0.0);
        fftw_execute(backward);
        float* result = out + static_cast<size_t>(c) * outLength;
        for (int32_t i = 0; i < outLength; ++i)
            result[i] = static_cast<float>(samples[i] / static_cast<double>(inLength));
    }
    DestroyPlan(forward);
    DestroyPlan(backward);
    fftw_free(bins);
    fftw_free(samples);
}

#include "synth/frame_spectrum.h"

#include <algorithm>

#include "core/editor_state.h"
#include "core/fft_plans.h"

namespace {

// One length's working arrays and its two plans, made on first use and kept
// for the run: planning costs far more than a transform. Only the GUI thread
// transforms frames.
struct Transforms {
    float* samples;
    fftwf_complex* bins;
    fftwf_plan forward;
    fftwf_plan backward;

    explicit Transforms(int32_t length) {
        samples = fftwf_alloc_real(static_cast<size_t>(length));
        bins = fftwf_alloc_complex(static_cast<size_t>(length / 2 + 1));
        forward = PlanForward(length, samples, bins);
        backward = PlanBackward(length, bins, samples);
    }
    Bin* Bins() const { return reinterpret_cast<Bin*>(bins); }
};

Transforms& FrameTransforms() {
    static Transforms transforms(SamplesPerFrame);
    return transforms;
}

Transforms& FineTransforms() {
    static Transforms transforms(FineSamples);
    return transforms;
}

} // namespace

void FrameToSpectrum(const float* frame, Bin* bins) {
    Transforms& t = FrameTransforms();
    std::copy_n(frame, SamplesPerFrame, t.samples);
    fftwf_execute(t.forward);
    std::copy_n(t.Bins(), FrameBins, bins);
}

void SpectrumToFrame(const Bin* bins, float* frame) {
    Transforms& t = FrameTransforms();
    std::copy_n(bins, FrameBins, t.Bins());
    fftwf_execute(t.backward);
    const float scale = 1.0f / static_cast<float>(SamplesPerFrame);
    for (int32_t n = 0; n < SamplesPerFrame; ++n) frame[n] = t.samples[n] * scale;
}

// The frame's Nyquist bin stands for both +-512 of the finer spectrum, half
// each; everything above it is zero.
void RaiseToFine(const float* frame, float* fine) {
    Transforms& f = FineTransforms();
    Bin* bins = f.Bins();
    FrameToSpectrum(frame, bins);
    bins[NyquistBin] = bins[NyquistBin] * 0.5f;
    std::fill(bins + FrameBins, bins + FineBins, Bin());
    fftwf_execute(f.backward);
    const float scale = 1.0f / static_cast<float>(SamplesPerFrame);
    for (int32_t n = 0; n < FineSamples; ++n) fine[n] = f.samples[n] * scale;
}

void LowerFromFine(const float* fine, float* frame) {
    Transforms& f = FineTransforms();
    std::copy_n(fine, FineSamples, f.samples);
    fftwf_execute(f.forward);
    // 1024 / 8192: SpectrumToFrame scales by 1 / 1024, the finer transform by 8192.
    Bin bins[FrameBins];
    const float scale = static_cast<float>(SamplesPerFrame) / static_cast<float>(FineSamples);
    for (int32_t k = 0; k <= HighestHarmonic; ++k) bins[k] = f.Bins()[k] * scale;
    bins[NyquistBin] = Bin();
    SpectrumToFrame(bins, frame);
}

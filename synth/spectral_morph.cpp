#include "synth/spectral_morph.h"

#include <algorithm>
#include <cmath>

#include "core/editor_state.h"
#include "synth/oscillator.h"

namespace {

// The turn from phase a to phase b along the shorter arc, in (-pi, pi]; half a
// turn either way goes forward.
float ShorterArc(float a, float b) {
    float d = b - a;
    if (d > Pi) d = d - FullTurn;
    if (d <= -Pi) d = d + FullTurn;
    return d;
}

float Strongest(const Bin* bins) {
    float strongest = 0.0f;
    for (int32_t k = 0; k < FrameBins; ++k) strongest = std::fmax(strongest, std::norm(bins[k]));
    return strongest;
}

// Whether bin k lies more than 100 dB (1e10 in power) below the frame's
// strongest bin: the phase of such a bin is the transform's rounding noise.
bool Faint(const Bin& bin, float strongest) { return std::norm(bin) < strongest * 1e-10f; }

} // namespace

void PrepareSpectralFade(const float* fromFrame, const float* toFrame, SpectralFade& fade) {
    Bin from[FrameBins];
    Bin to[FrameBins];
    FrameToSpectrum(fromFrame, from);
    FrameToSpectrum(toFrame, to);
    const float fromStrongest = Strongest(from);
    const float toStrongest = Strongest(to);
    for (int32_t k = 0; k < FrameBins; ++k) {
        fade.fromMagnitude[k] = std::abs(from[k]);
        fade.toMagnitude[k] = std::abs(to[k]);
        // A faint bin has no phase of its own and takes the other frame's, so a
        // harmonic that one frame lacks fades in or out at the phase it has in
        // the other rather than at the noise's.
        const bool fromFaint = Faint(from[k], fromStrongest);
        const bool toFaint = Faint(to[k], toStrongest);
        fade.fromPhase[k] = std::arg(fromFaint && !toFaint ? to[k] : from[k]);
        fade.arc[k] = ShorterArc(fade.fromPhase[k], std::arg(toFaint ? from[k] : to[k]));
    }
}

void SpectralFadeAt(const SpectralFade& fade, float t, float* frame) {
    Bin bins[FrameBins];
    for (int32_t k = 0; k < FrameBins; ++k)
        bins[k] = std::polar((1.0f - t) * fade.fromMagnitude[k] + t * fade.toMagnitude[k],
                             fade.fromPhase[k] + t * fade.arc[k]);
    // DC and Nyquist are their own mirrors: a real frame holds only their real
    // parts.
    bins[0] = Bin(bins[0].real(), 0.0f);
    bins[NyquistBin] = Bin(bins[NyquistBin].real(), 0.0f);
    SpectrumToFrame(bins, frame);
}

void SpectralMorphBetween(int32_t lo, int32_t hi) {
    SpectralFade fade;
    PrepareSpectralFade(Wavetable + lo * SamplesPerFrame, Wavetable + hi * SamplesPerFrame, fade);
    const float d = static_cast<float>(hi - lo);
    for (int32_t j = lo + 1; j < hi; ++j)
        SpectralFadeAt(fade, static_cast<float>(j - lo) / d, Wavetable + j * SamplesPerFrame);
}

void SpectralMorphFrames() {
    TakeUndoSnapshot();
    const int32_t lo = std::min(CurrentFrame, OffsetFrame);
    const int32_t hi = std::max(CurrentFrame, OffsetFrame);
    if (hi > lo) SpectralMorphBetween(lo, hi);
}

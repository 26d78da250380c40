#include "synth/wave_fold.h"

#include <cmath>

#include "core/editor_state.h"
#include "synth/frame_processes.h"
#include "synth/frame_spectrum.h"

namespace {

float Peak(const float* frame) {
    float peak = 0.0f;
    for (int32_t n = 0; n < SamplesPerFrame; ++n) peak = std::fmax(peak, std::fabs(frame[n]));
    return peak;
}

// asin(sin(pi u / 2)) is the triangle of period 4 through (0, 0) and (1, 1),
// computed here by its straight pieces: u + 1 taken modulo 4 rises from -1 to 1
// over 0 .. 2 and falls back over 2 .. 4.
float Fold(float u) {
    const float w = u + 1.0f;
    const float m = w - 4.0f * std::floor(w * 0.25f);
    return m < 2.0f ? m - 1.0f : 3.0f - m;
}

} // namespace

void WaveFold(float* frame, float gain) {
    if (!AllFinite(frame)) return;
    const float peak = Peak(frame);
    if (!(peak > 0.0f)) return;
    static float fine[FineSamples];
    RaiseToFine(frame, fine);
    for (float& x : fine) x = peak * Fold(gain * x / peak);
    LowerFromFine(fine, frame);
    const float folded = Peak(frame);
    if (!(folded > 0.0f)) return;
    const float scale = peak / folded;
    for (int32_t n = 0; n < SamplesPerFrame; ++n) frame[n] = frame[n] * scale;
}

void WaveFoldEach(float gain) {
    ProcessEditFrames([gain](float* frame) { WaveFold(frame, gain); });
}

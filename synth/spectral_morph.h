// Spectral Morph: a fade between two frames bin by bin in magnitude and phase,
// so that harmonics of different phase never cancel on the way.
#pragma once

#include <cstdint>

#include "synth/frame_spectrum.h"

// The fade between two 1024-sample frames, read once: each bin's magnitudes,
// its starting phase and the arc its phase turns through.
struct SpectralFade {
    float fromMagnitude[FrameBins];
    float toMagnitude[FrameBins];
    float fromPhase[FrameBins];
    float arc[FrameBins];
};

void PrepareSpectralFade(const float* from, const float* to, SpectralFade& fade);
// The frame at t (0 = from, 1 = to) of the fade, by the rule below.
void SpectralFadeAt(const SpectralFade& fade, float t, float* frame);

// Frames lo + 1 .. hi - 1 (lo < hi) take, at t = (j - lo) / (hi - lo), for
// every bin the magnitude (1 - t) |A| + t |B| and the phase of A turned towards
// that of B along the shorter arc by the fraction t, A and B being the bins of
// frames lo and hi. A bin more than 100 dB below its frame's strongest has no
// phase worth keeping and takes the other frame's. Frames lo and hi keep their
// samples.
void SpectralMorphBetween(int32_t lo, int32_t hi);
// The same between the two knob frames, after the undo snapshot.
void SpectralMorphFrames();

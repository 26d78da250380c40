// Padwave synthesis (PADsynth): the harmonic levels smeared into Gaussian bands
// with random phases, one inverse FFT, a seamless 131072-sample loop.
#pragma once

#include <cstdint>

// Fills PadwaveBuffer for a bandwidth in cents (below 1 counts as 1).
void GeneratePadwave(int32_t bandwidthCents);
// Fills the first n samples of PadwaveBuffer (n a power of two, at most
// PadwaveSamples) from amplitudes[1 .. harmonicCount - 1], the amplitudes of
// harmonics 1 .. harmonicCount - 1; draws n / 2 pseudo-random values.
void SynthesizePadwave(int32_t n, int32_t rate, float baseFrequency, float bandwidthCents,
                       int32_t harmonicCount, const float* amplitudes);
// exp(-(offset / bandwidth)^2) / bandwidth, or 0 where the squared argument
// is beyond the cut-off 14.712806.
float PadwaveProfile(float offset, float bandwidth);
// Scales the first `count` samples so that the largest positive one becomes 1/3.
void NormalizePadwave(int32_t count);

// Padwave synthesis (PADsynth): the harmonic levels smeared into Gaussian bands
// with random phases, one inverse FFT, a seamless 131072-sample loop.
#pragma once

#include <cstdint>

// Fills PadwaveBuffer for a bandwidth in cents (below 1 counts as 1).
void GeneratePadwave(int32_t bandwidthCents);
void SynthesizePadwave(int32_t n, int32_t rate, float baseFrequency, float bandwidthCents,
                       int32_t harmonicCount, const float* amplitudes);
float PadwaveProfile(float offset, float bandwidth);
// Spectrum bins [first, end) (interleaved real, imaginary) from bin amplitudes
// and phases of 0 .. 2 pi: cos(phase) x amp and sin(phase) x amp.
void PadwaveSpectrum(const float* binAmp, const float* binPhase, int32_t first, int32_t end, float* spectrum);
// In-place radix-2 complex FFT of nn values stored as 2 x nn interleaved floats.
void ComplexFft(float* data, int32_t nn, int32_t direction);
// Scales the first `count` samples so that the largest positive one becomes 1/3.
void NormalizePadwave(int32_t count);

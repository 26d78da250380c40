// The spectrum of one frame: FFTW's real transforms of 1024 samples, and of the
// 8192 samples of a frame raised by trigonometric interpolation. Bins are
// complex numbers k = 0 .. n / 2 of an n-sample frame, each standing for itself
// and its mirror n - k, so a frame made from them is real.
#pragma once

#include <complex>
#include <cstdint>

constexpr int32_t FrameBins = 1024 / 2 + 1; // 513: DC, harmonics 1 .. 511, Nyquist
constexpr int32_t NyquistBin = FrameBins - 1;
constexpr int32_t HighestHarmonic = NyquistBin - 1; // 511

using Bin = std::complex<float>;

// The unscaled spectrum of 1024 samples into FrameBins bins.
void FrameToSpectrum(const float* frame, Bin* bins);
// The 1024 samples of FrameBins bins, scaled by 1 / 1024 so that a frame comes
// back as it was.
void SpectrumToFrame(const Bin* bins, float* frame);

constexpr int32_t FineSamples = 8192;
constexpr int32_t FineBins = FineSamples / 2 + 1;

// The frame's trigonometric interpolation at 8192 points: the same curve, so
// every eighth sample is a sample of the frame.
void RaiseToFine(const float* frame, float* fine);
// The 8192-point curve brought back to 1024 samples keeping harmonics 0 .. 511:
// what lies above them is dropped rather than folded down.
void LowerFromFine(const float* fine, float* frame);

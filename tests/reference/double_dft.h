// A plain double-precision DFT, independent of the program's transforms.
#pragma once

#include <complex>
#include <vector>

using DoubleSpectrum = std::vector<std::complex<double>>;
using DoubleFrame = std::vector<double>;

// Bins 0 .. bins - 1 of the unscaled n-point DFT of x.
DoubleSpectrum DoubleDft(const DoubleFrame& x, int bins);
// The real n-sample frame of bins 0 .. n / 2 (missing ones zero, each also its mirror), over n.
DoubleFrame DoubleInverseDft(const DoubleSpectrum& bins, int n);
DoubleFrame ToDouble(const float* samples, int n);

// Frames of many partials for the spectral processes' tests, and their comparison with the
// double-precision oracle.
#pragma once

#include "tests/reference/double_dft.h"
#include "tests/test_support.h"

// Frame j: some DC, a Nyquist tone, and harmonics odd and even, low and as high as 511, of levels
// and signs that change with j; even frames are sums of cosines, odd frames sums of sines.
void FillTableWithPartials();
// Names the first sample of the frame farther than `tolerance` from `expected`.
testing::AssertionResult FrameNear(int frame, const DoubleFrame& expected, double tolerance);
// The fades between two frames at t: the straight crossfade, and the spectral one (magnitudes
// crossfaded, the phase of `from` turned towards that of `to` along the shorter arc by t).
DoubleFrame LinearBlend(const float* from, const float* to, double t);
DoubleFrame SpectralBlend(const float* from, const float* to, double t);

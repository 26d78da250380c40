#pragma once

#include "tests/reference/double_dft.h"
#include "tests/test_support.h"

// Frame j: DC, Nyquist and harmonics up to 511 whose signs change with j; cosines if j is even.
void FillTableWithPartials();
// Names the first sample of the frame farther than `tolerance` from `expected`.
testing::AssertionResult FrameNear(int frame, const DoubleFrame& expected, double tolerance);
// The fades at t: straight, and spectral (magnitudes crossfaded, phases along the shorter arc).
DoubleFrame LinearBlend(const float* from, const float* to, double t);
DoubleFrame SpectralBlend(const float* from, const float* to, double t);

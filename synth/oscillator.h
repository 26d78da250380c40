// The single-precision constants and the sine shared by the oscillators.
#pragma once

#include <cmath>

constexpr float Pi = 3.1415927f;       // nearest single to pi
constexpr float FullTurn = 6.2831855f; // nearest single to 2 pi
// Oscillator phases start here and add their step once per sample.
constexpr float StartPhase = -Pi;

// sin evaluated in double on a single-precision phase, rounded back to single.
inline float Sine(float phase) { return static_cast<float>(std::sin(static_cast<double>(phase))); }

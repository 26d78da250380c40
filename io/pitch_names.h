// Pitches as people write them: note names with octave numbers (A4 = 440 Hz)
// or frequencies in Hz.
#pragma once

#include <string>

// "G3 +2 cents, 196.2 Hz": the nearest equal-tempered note, the cents from it
// and the frequency.
std::string DescribePitch(double hz);

// Reads "196.2", "196.2 Hz", "G3", "g#3", "Bb2" or "A-1" into Hz; false for
// anything else and for pitches outside 1 Hz .. 100 kHz.
bool ParsePitch(const std::string& text, double& hz);

// Wave Fold: each frame of the edit range folded at a gain, without aliasing.
#pragma once

#include <cstdint>

// Raises the frame to 8192 samples, makes each sample x into
// p x Fold(gain x x / p) with p the frame's peak, brings it back to 1024
// samples keeping harmonics 0 .. 511, and scales it to the peak p again. Fold
// is the triangle fold into -1 .. 1, (2 / pi) x asin(sin(pi u / 2)). A
// silent frame, or one with a NaN or an infinity, stays as it is.
void WaveFold(float* frame, float gain);
// Takes the undo snapshot and folds every frame of the edit range (gain 1 .. 16).
void WaveFoldEach(float gain);

// Additive synthesis: the AdditiveFrame as a weighted sum of 32 harmonics, and
// the Additive view's edits of the harmonic levels.
#pragma once

// Recomputes AdditiveFrame from Harmonics and Polarity.
void SynthesizeAdditive();
void RestoreHarmonicSnapshot();
void CopyAdditiveFrame();
void MixHarmonicSnapshot();
void AmplifyHarmonics();
void AttenuateHarmonics();
void InvertHarmonics();
void ReverseHarmonics();

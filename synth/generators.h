// The basic waveform generators of the Synthesize menu and the shared steps
// ReplicateFirstFrame and PeakNormalize.
#pragma once

#include <cstdint>

// Each writes the current frame (Waveform view) or the first frame of the edit
// range and then repeats it over the range (Wavetable view). Random fills every
// frame of the range with its own noise instead.
void GenerateSine();
void GenerateSaw();
void GenerateRamp();
void GenerateTriangle();
void GenerateSquare();
void GenerateRandom();

// Recomputes the edit range and copies its first frame over every frame of it.
void ReplicateFirstFrame();

// Scales the run so that its largest magnitude becomes 0.5 / 1.4142; the
// measured peak has a floor of 0.00001, so a run of zeros stays zero.
void PeakNormalize(float* samples, int32_t count);

// The basic waveform generators of the Synthesize menu and their shared step
// ReplicateFirstFrame.
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

// The processes of the Edit menu that work on each frame of the edit range by
// itself: the Wave frame in the Waveform view, every frame from the lower to
// the higher knob frame in the Wavetable view. Each command takes the undo
// snapshot first. A frame holding a NaN or an infinity has no spectrum and no
// mean: the spectral processes and Remove DC leave it as it is.
#pragma once

#include <cstdint>
#include <functional>

// Whether every sample of the frame is a finite number.
bool AllFinite(const float* frame);
// The first and last frame of the current view's edit range, computed afresh.
void EditFrames(int32_t& first, int32_t& last);
// Takes the undo snapshot, then runs `process` on every frame of the edit range.
void ProcessEditFrames(const std::function<void(float* frame)>& process);

// Each frame loses its mean.
void RemoveDcEach();
// Each frame scaled on its own as Normalize scales a frame.
void NormalizeEach();
// Each frame rotated so that its fundamental has the phase of a sine starting
// at sample 0; a frame whose fundamental lies more than 100 dB below its
// strongest bin stays as it is.
void AlignPhaseEach();
// Keeps bins 0 .. highest (1 .. 511): DC stays.
void LowPassEach(int32_t highest);
// Zeroes bins 0 .. lowest - 1 (lowest 1 .. 511): DC goes.
void HighPassEach(int32_t lowest);
// Moves harmonic k to k + shift (-511 .. 511); what lands outside 1 .. 511 is
// dropped, DC stays.
void ShiftHarmonicsEach(int32_t shift);

// Following the pitch of recorded sound along a stretch of it, in the McLeod
// manner: the normalised square difference of a window with itself, its first
// clear peak, refined to a fraction of a sample.
#pragma once

#include <cstdint>
#include <vector>

// The pitches the tracker looks for, in Hz.
constexpr float LowestPitch = 40.0f;
constexpr float HighestPitch = 2000.0f;

// The period, in samples, at evenly spaced points of the sound; 0 where the
// window round a point shows no clear periodicity (noise, silence).
struct PitchTrack {
    std::vector<double> times;   // window centres, samples from the first
    std::vector<double> periods; // samples; 0 where none was found
};

// Tracks `points` windows from the start to the end of `samples` (at least
// one). Samples that are not finite count as silence.
PitchTrack TrackPitch(const float* samples, int64_t length, int32_t rate, int32_t points);

// Brings every period found to the octave nearest the median of them (a
// window that locked onto the second harmonic or a subharmonic) and returns
// that median; 0, leaving the track as it was, when fewer than half of the
// points found a period.
double SteadyPeriod(PitchTrack& track);

// The inside of the audition's material, shared by its builder and the engine.
//
// Every wave (a table frame, the additive frame, the pad) is kept as a ladder
// of band-limited levels. Level k holds harmonics 1 .. harmonics[k] of the wave
// (no DC, nothing above) as size[k] quintic B-spline coefficients per cycle,
// prefiltered in the frequency domain so that a harmonic sounds at exactly its
// level in the wave. A cycle is size[k] >= harmonics[k] / MaxTableFrequency
// samples long, so the spline's images of a harmonic lie at least 94 dB below
// it. A note plays the level with the most harmonics that stay below the output
// rate's Nyquist frequency.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/table_shape.h"

constexpr int AuditionMaxLevels = 48;
// The highest harmonic frequency a level holds, in cycles per table sample.
constexpr float MaxTableFrequency = 0.14f;
// Coefficients before and after each level's cycle, so that the six taps of the
// spline never wrap: level data is [2 guard][size][3 guard].
constexpr int GuardBefore = 2;
constexpr int GuardAfter = 3;

struct AuditionLadder {
    int count = 0;
    int32_t harmonics[AuditionMaxLevels] = {};
    int32_t size[AuditionMaxLevels] = {};
    int64_t offset[AuditionMaxLevels] = {}; // first guard coefficient of level k
    int64_t floats = 0;                     // all levels
    int32_t sourceLength = 0;               // samples of one cycle of the source
};

// The ladder of table frames and the additive frame: harmonic limits a quarter
// octave apart from 511 down to 1, so a note keeps every harmonic up to at
// least 0.42 times the output rate over its frequency.
const AuditionLadder& FrameLadder();
// The pad's: its 131072-sample cycle holds up to 65535 harmonics of the loop
// frequency; limits half an octave apart down to 256.
const AuditionLadder& PadLadder();

// The level of `ladder` that a cycle of `cycleHz` plays at `sampleRate`: the
// one with the most harmonics below Nyquist, or -1 when not even the last fits.
int ChooseLevel(const AuditionLadder& ladder, float cycleHz, float sampleRate);

struct AuditionWave {
    std::vector<float> source; // the samples it was built from
    std::vector<float> data;   // every level of the ladder
};

struct AuditionMaterial {
    std::shared_ptr<const AuditionWave> frames[FrameCount];
    std::shared_ptr<const AuditionWave> additive;
    std::shared_ptr<const AuditionWave> pad;
};

// Single cycles cut from recorded sound at its own pitch: one period at a time,
// a fractional number of samples long, made 1024 samples.
#pragma once

#include <cstdint>

// One period of `samples`, `period` samples long (fractional), into 1024
// samples at `out`: band-limited (nothing above the cycle's own Nyquist),
// without its mean, and started where its fundamental has the phase of a sine
// at sample 0, so that cycles cut at different times line up. The cycle first
// starts at `centre` - `period` / 2; lining up its phase moves that start by
// less than a period, later in the first half of the samples and earlier in
// the second, so a cycle near either end moves towards the middle. Beyond the
// samples there is silence; samples that are not finite count as silence.
void ExtractCycle(const float* samples, int64_t length, double centre, double period, float* out);

enum class CycleStatus {
    Ok,
    TooShort,     // the samples hold fewer than two periods
    NoPitch,      // no steady pitch was found and none was given
    PitchTooHigh, // the given pitch is above half the sample rate
};

// Fills `count` frames of 1024 samples at `out` with cycles at evenly spaced
// times from the start to the end of the samples: at `pitch` Hz throughout when
// it is above 0, else at the pitch tracked along the samples. The loudest
// frame peaks at the level of Normalize and the others keep their level
// relative to it. `found` receives the pitch used, in Hz (or the one detected
// when the status is TooShort). On any status but Ok, `out` is untouched.
CycleStatus BuildCycles(const float* samples, int64_t length, int32_t rate, double pitch,
                        int32_t count, float* out, double& found);

// The steady pitch of the samples in Hz, 0 for none.
double DetectPitch(const float* samples, int64_t length, int32_t rate);

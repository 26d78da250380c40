// Tables of another shape: frames placed between the frames of a table, and
// single cycles brought to another length without aliasing. Exports make the
// frame counts and lengths other synths read, imports and scripts come back to
// the editor's 1024 samples, and both place frames by the same rule.
#pragma once

#include <cstdint>

enum class FramesBetween { Crossfade, Spectral };

// Makes `to` frames of 1024 samples from the `from` frames of 1024 samples of
// source (from, to >= 1). Frame j sits at p = j (from - 1) / (to - 1) of the
// source (frame 0 at the first, frame to - 1 at the last; to = 1 takes the
// first) and is frame floor(p) faded towards the next by t = p - floor(p):
// Crossfade mixes the samples (1 - t) a + t b, Spectral fades as Spectral
// Morph does. A frame at a whole position is a copy of its source frame.
// out holds to x 1024 samples and does not overlap source.
void MakeFramesBetween(const float* source, int32_t from, int32_t to, FramesBetween how,
                       float* out);

// Brings count cycles of inLength samples (>= 2) to outLength samples (>= 2)
// each, cycle i from in[i x inLength] to out[i x outLength]: the harmonics
// 1 .. min((inLength - 1) / 2, (outLength - 1) / 2) keep their amplitude and
// phase, DC and every harmonic above are dropped (so is an even length's
// Nyquist bin). The transforms run in double; results are rounded to single.
void BandLimitCycles(const float* in, int32_t inLength, int32_t count, int32_t outLength,
                     float* out);

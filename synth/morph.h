// Morph: a linear crossfade across the frames between the two knob frames.
#pragma once

#include <cstdint>

// Fills frames lo+1 .. hi-1 with a sample-by-sample crossfade from frame lo to
// frame hi. Frames lo and hi keep their samples. Takes the undo snapshot first.
void MorphFrames();
// The crossfade of MorphFrames between frames lo and hi (lo < hi), without
// the snapshot.
void MorphBetween(int32_t lo, int32_t hi);

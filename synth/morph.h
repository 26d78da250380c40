// Morph: a linear crossfade across the frames between the two knob frames.
#pragma once

// Fills frames lo+1 .. hi-1 with a sample-by-sample crossfade from frame lo to
// frame hi. Frames lo and hi keep their samples. Takes the undo snapshot first.
void MorphFrames();

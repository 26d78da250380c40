// Fill Gaps: the silent frames between frames with sound, filled by a fade
// between the two frames with sound around them.
#pragma once

// Inside the edit range a frame with any non-zero sample is a keyframe; every
// run of all-zero frames between two keyframes is filled by Morph's crossfade
// or, when `spectral`, Spectral Morph's fade between them. False, with the
// table and the undo snapshot untouched, when the range holds fewer than two
// keyframes; otherwise the snapshot is taken first.
bool FillGaps(bool spectral);

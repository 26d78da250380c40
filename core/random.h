// The process-wide pseudo-random sequence: integers 0..32767 from the same fixed
// start in every run. "Random" and padwave generation draw from it in the order
// the user runs them.
#pragma once

constexpr int RandomMax = 32767;

int NextRandom();

// The process-wide pseudo-random sequence: integers 0..32767 from the same fixed
// start in every run. "Random" and padwave generation draw from it in the order
// the user runs them.
#pragma once

#include <cstdint>

constexpr int RandomMax = 32767;

int NextRandom();
// The same sequence from a position the caller keeps, which leaves the
// process-wide one where it was.
int NextRandom(uint32_t& state);

// The sequence's current position, and a way back to it, so that the same
// draws can be replayed.
uint32_t RandomPosition();
void SetRandomPosition(uint32_t position);

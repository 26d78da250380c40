// Plain, literal versions of the synthesis loops: every harmonic, every bin and
// every sample visited in the straightforward order, with no skipping, no
// threads and no reordering. The tests compare the program's fast paths with
// them bit for bit, and the benchmarks measure against them.
#pragma once

#include <cstdint>

// Writes AdditiveFrame from Harmonics and Polarity, one harmonic after another.
void LiteralSynthesizeAdditive();

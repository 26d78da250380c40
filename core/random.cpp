#include "core/random.h"

#include <cstdint>

namespace {
uint32_t RandomState = 1;
}

// The classic portable linear congruential generator; 15 bits of the high half.
int NextRandom(uint32_t& state) {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state / 65536u) % 32768u);
}

int NextRandom() { return NextRandom(RandomState); }

uint32_t RandomPosition() { return RandomState; }

void SetRandomPosition(uint32_t position) { RandomState = position; }

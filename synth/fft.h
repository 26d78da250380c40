// Our radix-2 complex FFT (decimation in time, twiddles by rotation, no
// scaling), and the pieces of it that let a caller write its values straight
// into bit-reversed order and then run the stages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// In-place radix-2 complex FFT of nn values (a power of two, at least 2)
// stored as 2 x nn interleaved floats; direction +1 or -1, no scaling.
void ComplexFft(float* data, int32_t nn, int32_t direction);

// From this many values on, a transform shares its work with a helper thread;
// below it the thread costs more than it saves.
constexpr int32_t ThreadedFftSize = 4096;

// The number of stages: the integer part of ln(nn) / ln(2), both logarithms
// rounded to single. That is log2(nn) for every power of two up to 2^18 but
// 2^13 and 2^15, which get one stage fewer and so are never fully transformed.
int32_t StageCount(int32_t nn);

// The bit reversal of p in log2(nn) bits.
int32_t BitReversed(int32_t p, int32_t nn);
// The bit reversal of p + 1, given r, the reversal of p.
int32_t NextBitReversed(int32_t r, int32_t nn);

// The twiddles of all stages lie one after the other in one table of
// TwiddleTableSize(stages) floats.
size_t TwiddleTableSize(int32_t stages);
// Rotates the twiddles of stages [firstStage, endStage) into the table.
void FillTwiddles(int32_t firstStage, int32_t endStage, int32_t direction, float* table);

// Writes the positions [first, end) of the values in bit-reversed order.
using FillPositions = std::function<void(int32_t first, int32_t end)>;

// Runs the stages on nn values: fill(first, end) first writes every position
// in bit-reversed order, then come the butterflies. From ThreadedFftSize on, the
// calling thread fills and transforms the lower half of the positions while the
// helper thread does the upper half (the stages before the last never mix the
// halves); then the two threads share the last stage's butterflies.
void TransformFromBitReversed(float* data, int32_t nn, int32_t stages, const float* table,
                              const FillPositions& fill);

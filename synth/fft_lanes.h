// The butterflies of our radix-2 transform: one at a time, and two neighbouring
// ones at a time in "lanes", four floats of the lower and four of the upper half
// of a block with their two twiddle pairs. With SSE2 the four floats are one
// 128-bit register; otherwise a plain C++ twin does the same arithmetic. The
// build option QARNO_PLAIN_LANES picks the plain twin even where SSE2 exists, so
// that the tests can hold both to the same bits.
#pragma once

#include <cstring>

#if defined(__SSE2__) && !defined(QARNO_PLAIN_LANES)
#define QARNO_SSE2_LANES 1
#include <emmintrin.h>
#else
#define QARNO_SSE2_LANES 0
#endif

// One butterfly on the value pairs at lower and upper (real, imaginary).
inline void Butterfly(float* __restrict lower, float* __restrict upper, float wr, float wi) {
    const float tempr = upper[0] * wr - upper[1] * wi;
    const float tempi = upper[1] * wr + upper[0] * wi;
    upper[0] = lower[0] - tempr;
    upper[1] = lower[1] - tempi;
    lower[0] = lower[0] + tempr;
    lower[1] = lower[1] + tempi;
}

#if QARNO_SSE2_LANES

// Each lane does the arithmetic of Butterfly; tempr = ur x wr - ui x wi is
// computed as ur x wr + (-(ui x wi)), which IEEE defines to be the same.
using Lanes = __m128;
inline Lanes LoadLanes(const float* p) { return _mm_loadu_ps(p); }
inline void StoreLanes(float* p, Lanes v) { _mm_storeu_ps(p, v); }
inline void ButterflyTwo(Lanes& lower, Lanes& upper, Lanes twiddles) {
    const Lanes wr = _mm_shuffle_ps(twiddles, twiddles, _MM_SHUFFLE(2, 2, 0, 0));
    const Lanes wi = _mm_shuffle_ps(twiddles, twiddles, _MM_SHUFFLE(3, 3, 1, 1));
    const Lanes swapped = _mm_shuffle_ps(upper, upper, _MM_SHUFFLE(2, 3, 0, 1));
    const Lanes realSigns = _mm_set_ps(0.0f, -0.0f, 0.0f, -0.0f);
    const Lanes temp =
        _mm_add_ps(_mm_mul_ps(upper, wr), _mm_xor_ps(_mm_mul_ps(swapped, wi), realSigns));
    upper = _mm_sub_ps(lower, temp);
    lower = _mm_add_ps(lower, temp);
}

#else

struct Lanes {
    float v[4];
};
inline Lanes LoadLanes(const float* p) {
    Lanes lanes;
    std::memcpy(lanes.v, p, sizeof lanes.v);
    return lanes;
}
inline void StoreLanes(float* p, const Lanes& lanes) { std::memcpy(p, lanes.v, sizeof lanes.v); }
inline void ButterflyTwo(Lanes& lower, Lanes& upper, const Lanes& twiddles) {
    Butterfly(lower.v, upper.v, twiddles.v[0], twiddles.v[1]);
    Butterfly(lower.v + 2, upper.v + 2, twiddles.v[2], twiddles.v[3]);
}

#endif

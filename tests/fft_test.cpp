#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <vector>

#include "synth/fft.h"
#include "tests/reference/literal_synth.h"

namespace {

using Spectrum = std::vector<std::complex<float>>;
using Exact = std::complex<double>;
constexpr double TwoPi = 6.283185307179586;

float* Floats(Spectrum& s) { return reinterpret_cast<float*>(s.data()); }

// Either sign, many magnitudes, zeros of both signs.
Spectrum MixedValues(int32_t nn) {
    Spectrum values(nn);
    for (int32_t t = 0; t < nn; ++t) {
        const float imaginary = t % 5 == 0 ? -0.0f : std::sin(static_cast<float>(t));
        values[t] = {std::ldexp(3.0f - static_cast<float>(t % 7), t % 9), imaginary};
    }
    return values;
}

}  // namespace

// Sizes below and above the two-thread size, and 2^13 and 2^15, whose stage
// count stops one stage short.
TEST(ComplexFft, SameBitsAsTheLiteralTransform) {
    for (int32_t nn : {2, 4, 64, 4096, 8192, 32768, 131072}) {
        for (int32_t direction : {-1, 1}) {
            Spectrum fast = MixedValues(nn);
            Spectrum literal = fast;
            ComplexFft(Floats(fast), nn, direction);
            LiteralComplexFft(Floats(literal), nn, direction);
            ASSERT_EQ(std::memcmp(fast.data(), literal.data(), nn * sizeof fast[0]), 0) << nn << " " << direction;
        }
    }
}

// A wrong twiddle or permutation errs by the order of the signal's norm.
TEST(ComplexFft, MatchesADoublePrecisionDft) {
    const int64_t nn = 131072;
    const Spectrum input = MixedValues(nn);
    double norm = 0.0;
    for (auto v : input) norm += std::norm(Exact(v));
    for (int32_t direction : {-1, 1}) {
        Spectrum output = input;
        ComplexFft(Floats(output), nn, direction);
        for (int64_t k : {0, 1, 1308, 65536, 131071}) {
            Exact sum = 0.0;
            for (int64_t t = 0; t < nn; ++t)
                sum += Exact(input[t]) * std::polar(1.0, direction * TwoPi * static_cast<double>(t * k % nn) / nn);
            EXPECT_LT(std::abs(Exact(output[k]) - sum), 5e-4 * std::sqrt(norm)) << direction << " " << k;
        }
    }
}

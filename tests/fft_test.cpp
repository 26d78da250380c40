#include "synth/fft.h"
#include "tests/reference/literal_synth.h"
#include "tests/test_support.h"

using Spectrum = std::vector<std::complex<float>>;

// Either sign, many magnitudes, zeros of both signs.
static Spectrum MixedValues(int32_t nn) {
    Spectrum values(nn);
    for (int32_t t = 0; t < nn; ++t)
        values[t] = {std::ldexp(3.0f - t % 7, t % 9),
                     t % 5 == 0 ? -0.0f : std::sin(static_cast<float>(t))};
    return values;
}

// Sizes below and above the two-thread size, and 2^13 and 2^15, whose stage count falls one short.
TEST(ComplexFft, SameBitsAsTheLiteralTransform) {
    for (int32_t nn : {2, 4, 64, 4096, 8192, 32768, 131072}) {
        for (int32_t direction : {-1, 1}) {
            Spectrum fast = MixedValues(nn);
            Spectrum literal = fast;
            ComplexFft(reinterpret_cast<float*>(fast.data()), nn, direction);
            LiteralComplexFft(reinterpret_cast<float*>(literal.data()), nn, direction);
            ASSERT_EQ(std::memcmp(fast.data(), literal.data(), nn * sizeof fast[0]), 0)
                << nn << " " << direction;
        }
    }
}

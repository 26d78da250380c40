#include "core/sample_ops.h"

#include <cmath>

// A run that holds an infinite sample has no finite peak: each infinity
// becomes the normalized peak with its sign and every finite sample 0, as
// their share of an infinite peak. NaN, which has no level, becomes 0. Runs
// without either, all but always, take the plain loop.
void PeakNormalize(float* samples, int32_t count) {
    double m = 0.0;
    bool unbounded = false; // a NaN or an infinity
    for (int32_t i = 0; i < count; ++i) {
        const double a = std::fabs(samples[i]);
        if (a > m) m = a;
        if (!(a < HUGE_VAL)) unbounded = true;
    }
    const bool infinite = std::isinf(m);
    if (infinite) m = 1.0;
    if (m < 1e-5) m = 1e-5;
    const float g = 1.0f / static_cast<float>(m * static_cast<double>(1.4142f));
    if (!unbounded) {
        for (int32_t i = 0; i < count; ++i) samples[i] = (g * samples[i]) * 0.5f;
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        float s = samples[i];
        if (std::isnan(s))
            s = 0.0f;
        else if (infinite)
            s = std::isinf(s) ? std::copysign(1.0f, s) : std::copysign(0.0f, s);
        samples[i] = (g * s) * 0.5f;
    }
}

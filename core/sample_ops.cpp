#include "core/sample_ops.h"

#include <cmath>

void PeakNormalize(float* samples, int32_t count) {
    double m = 0.0;
    for (int32_t i = 0; i < count; ++i) {
        const double a = std::fabs(samples[i]);
        if (a > m) m = a;
    }
    if (m < 1e-5) m = 1e-5;
    const float g = 1.0f / static_cast<float>(m * static_cast<double>(1.4142f));
    for (int32_t i = 0; i < count; ++i) samples[i] = (g * samples[i]) * 0.5f;
}

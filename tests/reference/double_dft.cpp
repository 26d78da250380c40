#include "tests/reference/double_dft.h"

#include <cmath>
#include <cstdint>

namespace {

// e^(-2 pi i m / n) for m = 0 .. n - 1.
std::vector<std::complex<double>> Twiddles(int n) {
    std::vector<std::complex<double>> w(n);
    for (int m = 0; m < n; ++m) w[m] = std::polar(1.0, -2.0 * M_PI * m / n);
    return w;
}

} // namespace

DoubleSpectrum DoubleDft(const DoubleFrame& x, int bins) {
    const int n = static_cast<int>(x.size());
    const auto w = Twiddles(n);
    DoubleSpectrum X(bins);
    for (int k = 0; k < bins; ++k)
        for (int m = 0; m < n; ++m) X[k] += x[m] * w[static_cast<int64_t>(k) * m % n];
    return X;
}

DoubleFrame DoubleInverseDft(const DoubleSpectrum& bins, int n) {
    const auto w = Twiddles(n);
    DoubleFrame x(n);
    for (int m = 0; m < n; ++m) {
        double sum = 0.0;
        for (int k = 0; k <= n / 2 && k < static_cast<int>(bins.size()); ++k) {
            const double turned = (bins[k] * std::conj(w[static_cast<int64_t>(k) * m % n])).real();
            sum += (k == 0 || 2 * k == n) ? turned : 2.0 * turned;
        }
        x[m] = sum / n;
    }
    return x;
}

DoubleFrame ToDouble(const float* samples, int n) { return DoubleFrame(samples, samples + n); }

// Measuring sound in the tests, in double (a measurement, not a computed
// sample): a frame's harmonics, the amplitude of any component of a sound, its
// exact pitch and the strongest component between its harmonics.
#pragma once

#include <fftw3.h>

#include <cmath>
#include <complex>
#include <map>
#include <utility>
#include <vector>

#include "core/table_shape.h"

using Bins = std::vector<std::complex<double>>;

inline double Decibels(double ratio) { return 20.0 * std::log10(ratio); }
inline double Cents(double hz, double reference) { return 1200.0 * std::log2(hz / reference); }
inline double NoteHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// Bins 0 .. n / 2 of the n-point transform of `in`, padded with zeros.
inline Bins RealSpectrum(std::vector<double> in, size_t n) {
    in.resize(n, 0.0);
    Bins bins(n / 2 + 1);
    fftw_plan plan =
        fftw_plan_dft_r2c_1d(static_cast<int>(n), in.data(),
                             reinterpret_cast<fftw_complex*>(bins.data()), FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    return bins;
}

// Bins 0 .. 512 of a 1024-sample frame, each a cosine's amplitude and phase.
inline Bins FrameSpectrum(const float* frame) {
    Bins bins = RealSpectrum(std::vector<double>(frame, frame + SamplesPerFrame), SamplesPerFrame);
    for (std::complex<double>& bin : bins) bin *= 2.0 / SamplesPerFrame;
    return bins;
}

// The 7-term Blackman-Harris window of n samples: side lobes below -180 dB.
inline const std::vector<double>& Window(size_t n) {
    static std::map<size_t, std::vector<double>> made;
    std::vector<double>& w = made[n];
    const double a[] = {0.27105140069342, -0.43329793923448, 0.21812299954311, -0.06592544638803,
                        0.01081174209837, -0.00077658482522, 0.00001388721735};
    for (size_t i = w.size(); i < n; ++i) {
        double v = 0.0;
        for (int k = 0; k < 7; ++k) v += a[k] * std::cos(2.0 * M_PI * k * i / n);
        w.push_back(v);
    }
    return w;
}

// The amplitude of the component at `hz` in `x` sampled at `rate`, through the
// window: a steady sine reads its own amplitude.
inline double Amplitude(const std::vector<float>& x, double hz, double rate) {
    const std::vector<double>& w = Window(x.size());
    const std::complex<double> turn = std::polar(1.0, -2.0 * M_PI * hz / rate);
    std::complex<double> z = 1.0, sum = 0.0;
    double weight = 0.0;
    for (size_t i = 0; i < x.size(); ++i, z *= turn) {
        sum += z * (x[i] * w[i]);
        weight += w[i];
    }
    return 2.0 * std::abs(sum) / weight;
}

// The frequency of the strongest component within 3 Hz of `guess`.
inline double PeakHz(const std::vector<float>& x, double guess, double rate) {
    double lo = guess - 3.0, hi = guess + 3.0;
    const double g = 0.5 * (std::sqrt(5.0) - 1.0);
    while (hi - lo > 1e-5) {
        const double a = hi - g * (hi - lo), b = lo + g * (hi - lo);
        if (Amplitude(x, a, rate) > Amplitude(x, b, rate))
            hi = b;
        else
            lo = a;
    }
    return 0.5 * (lo + hi);
}

// The strongest component farther than `band` Hz from every harmonic of f0, in
// dB under the fundamental, and its frequency: from a transform padded to
// bins of half the resolution.
inline std::pair<double, double> WorstBetweenHarmonics(const std::vector<float>& x, double f0,
                                                       double rate, double band) {
    const std::vector<double>& w = Window(x.size());
    std::vector<double> in(x.size());
    double weight = 0.0;
    for (size_t i = 0; i < x.size(); ++i) {
        in[i] = x[i] * w[i];
        weight += w[i];
    }
    const Bins bins = RealSpectrum(in, 2 * x.size());
    const double fundamental = Amplitude(x, f0, rate);
    std::pair<double, double> worst = {-400.0, 0.0};
    for (size_t k = 0; k < bins.size(); ++k) {
        const double hz = rate * k / (2.0 * x.size());
        if (std::fabs(hz - std::round(hz / f0) * f0) <= band) continue;
        worst = std::max(worst, {Decibels(2.0 * std::abs(bins[k]) / weight / fundamental), hz});
    }
    return worst;
}

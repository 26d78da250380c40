#include "io/pitch_tracker.h"

#include <algorithm>
#include <cmath>

#include "core/fft_plans.h"

namespace {

// A window's clearest peak must reach this to count as periodic; the first
// peak within this share of the clearest is the period (the later ones are its
// multiples).
constexpr double Clarity = 0.6;
constexpr double FirstPeakShare = 0.9;
// Samples beyond this size are taken for broken data and clipped to it.
constexpr double LargestSample = 1e4;

// FFTW's arrays and plans for one window length, released when the track is
// made. Everything here is double on purpose: the square sums of a window
// reach far past a float's precision and the period is wanted to a
// thousandth of a sample.
struct Autocorrelation {
    int32_t window;
    int32_t size; // twice the window: the circular correlation is the linear one
    double* signal;
    fftw_complex* spectrum;
    fftw_plan forward;
    fftw_plan backward;
    std::vector<double> power;   // |X_k|^2, k = 0 .. size / 2
    std::vector<double> squares; // S[n] = x_0^2 + ... + x_{n-1}^2
    std::vector<double> lags;    // r(tau) for tau = 0 .. window - 1

    explicit Autocorrelation(int32_t windowLength)
        : window(windowLength), size(2 * windowLength), power(size / 2 + 1),
          squares(windowLength + 1), lags(windowLength) {
        signal = fftw_alloc_real(static_cast<size_t>(size));
        spectrum = fftw_alloc_complex(static_cast<size_t>(size / 2 + 1));
        forward = PlanForward(size, signal, spectrum);
        backward = PlanBackward(size, spectrum, signal);
    }
    ~Autocorrelation() {
        DestroyPlan(forward);
        DestroyPlan(backward);
        fftw_free(signal);
        fftw_free(spectrum);
    }
    Autocorrelation(const Autocorrelation&) = delete;
    Autocorrelation& operator=(const Autocorrelation&) = delete;

    // Loads window samples from `x`, without their mean, and correlates them.
    void Load(const float* x) {
        double mean = 0.0;
        for (int32_t i = 0; i < window; ++i) {
            const double v =
                std::isfinite(x[i]) ? std::clamp<double>(x[i], -LargestSample, LargestSample) : 0.0;
            signal[i] = v;
            mean += v;
        }
        mean /= window;
        squares[0] = 0.0;
        for (int32_t i = 0; i < window; ++i) {
            signal[i] -= mean;
            squares[i + 1] = squares[i] + signal[i] * signal[i];
        }
        std::fill(signal + window, signal + size, 0.0);
        fftw_execute(forward);
        for (int32_t k = 0; k <= size / 2; ++k) {
            power[k] = spectrum[k][0] * spectrum[k][0] + spectrum[k][1] * spectrum[k][1];
            spectrum[k][0] = power[k];
            spectrum[k][1] = 0.0;
        }
        fftw_execute(backward);
        for (int32_t t = 0; t < window; ++t) lags[t] = signal[t] / size;
    }

    // S at a fractional index, and its slope there.
    double SquaresAt(double u) const {
        const int32_t i = std::clamp(static_cast<int32_t>(u), 0, window - 1);
        return squares[i] + (u - i) * (squares[i + 1] - squares[i]);
    }
    double SquareSlopeAt(double u) const {
        const int32_t i = std::clamp(static_cast<int32_t>(u), 0, window - 1);
        return squares[i + 1] - squares[i];
    }

    // The normalised square difference at an integer lag.
    double Nsdf(int32_t tau) const {
        const double m = squares[window - tau] + squares[window] - squares[tau];
        return m > 0.0 ? 2.0 * lags[tau] / m : 0.0;
    }

    // The lag near `tau` where the band-limited normalised square difference
    // peaks: Newton's steps on r(tau) evaluated from the power spectrum at
    // fractional lags, within a sample of the integer peak.
    double RefinePeak(int32_t peak) const {
        const double below = Nsdf(peak - 1), at = Nsdf(peak), above = Nsdf(peak + 1);
        const double curve = below - 2.0 * at + above;
        double tau = peak;
        if (curve < 0.0) tau += 0.5 * (below - above) / curve;
        const double step = 2.0 * M_PI / size;
        for (int iteration = 0; iteration < 4; ++iteration) {
            double r = power[0], r1 = 0.0, r2 = 0.0;
            const double c = std::cos(step * tau), s = std::sin(step * tau);
            double re = 1.0, im = 0.0;
            for (int32_t k = 1; k < size / 2; ++k) {
                const double next = re * c - im * s;
                im = re * s + im * c;
                re = next;
                const double w = k * step;
                r += 2.0 * power[k] * re;
                r1 -= 2.0 * power[k] * w * im;
                r2 -= 2.0 * power[k] * w * w * re;
            }
            r /= size;
            r1 /= size;
            r2 /= size;
            const double m = SquaresAt(window - tau) + squares[window] - SquaresAt(tau);
            const double m1 = -SquareSlopeAt(window - tau) - SquareSlopeAt(tau);
            if (m <= 0.0) break;
            const double n1 = 2.0 * (r1 * m - r * m1) / (m * m);
            const double n2 =
                2.0 * (r2 * m * m - 2.0 * r1 * m1 * m + 2.0 * r * m1 * m1) / (m * m * m);
            if (!(n2 < 0.0)) break;
            const double next = std::clamp(tau - n1 / n2, peak - 1.0, peak + 1.0);
            const bool settled = std::fabs(next - tau) < 1e-6;
            tau = next;
            if (settled) break;
        }
        return tau;
    }

    // The period of the loaded window between the two lags, 0 for none.
    double Period(int32_t shortest, int32_t longest) const {
        std::vector<std::pair<int32_t, double>> keys;
        int32_t tau = 1;
        while (tau <= longest && Nsdf(tau) > 0.0) ++tau;
        int32_t best = 0;
        double bestValue = 0.0;
        for (; tau <= longest; ++tau) {
            const double n = Nsdf(tau);
            if (n > 0.0 && n > bestValue) {
                best = tau;
                bestValue = n;
            }
            if (n <= 0.0 && best > 0) {
                keys.emplace_back(best, bestValue);
                best = 0;
                bestValue = 0.0;
            }
        }
        if (best > 0 && best < longest) keys.emplace_back(best, bestValue);
        double clearest = 0.0;
        for (const auto& key : keys)
            if (key.first >= shortest) clearest = std::max(clearest, key.second);
        if (clearest < Clarity) return 0.0;
        for (const auto& key : keys)
            if (key.first >= shortest && key.second >= FirstPeakShare * clearest)
                return RefinePeak(key.first);
        return 0.0;
    }
};

} // namespace

PitchTrack TrackPitch(const float* samples, int64_t length, int32_t rate, int32_t points) {
    PitchTrack track;
    points = std::max(points, 1);
    const int32_t shortest = std::max(2, static_cast<int32_t>(std::floor(rate / HighestPitch)));
    const int32_t longest = static_cast<int32_t>(std::ceil(rate / LowestPitch));
    const int32_t window = static_cast<int32_t>(std::min<int64_t>(2 * longest + 2, length));
    track.times.resize(points);
    track.periods.assign(points, 0.0);
    if (window < 2 * shortest + 4) {
        for (int32_t j = 0; j < points; ++j) track.times[j] = 0.5 * length;
        return track;
    }
    Autocorrelation correlation(window);
    const int32_t reach = std::min(longest, window / 2);
    for (int32_t j = 0; j < points; ++j) {
        const double centre =
            points == 1 ? 0.5 * length : static_cast<double>(length) * j / (points - 1);
        const int64_t first =
            std::clamp<int64_t>(std::llround(centre - 0.5 * window), 0, length - window);
        track.times[j] = first + 0.5 * window;
        correlation.Load(samples + first);
        track.periods[j] = correlation.Period(shortest, reach);
    }
    return track;
}

double SteadyPeriod(PitchTrack& track) {
    std::vector<double> found;
    for (double p : track.periods)
        if (p > 0.0) found.push_back(p);
    if (found.empty() || 2 * found.size() < track.periods.size()) return 0.0;
    auto median = [](std::vector<double> values) {
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    };
    const double middle = median(found);
    found.clear();
    for (double& p : track.periods) {
        if (p <= 0.0) continue;
        p *= std::exp2(std::round(std::log2(middle / p)));
        found.push_back(p);
    }
    return median(found);
}

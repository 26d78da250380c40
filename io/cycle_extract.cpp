#include "io/cycle_extract.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/editor_state.h"
#include "core/sample_ops.h"
#include "io/pitch_tracker.h"
#include "io/resample.h"

namespace {

// The interpolation kernel: a Blackman-windowed sinc reaching this many
// samples each side, tabulated at this many points a sample.
constexpr int32_t KernelReach = 24;
constexpr int32_t KernelSteps = 512;
constexpr double LargestSample = 1e4;
// The points along the samples where the pitch is tracked.
constexpr int32_t TrackPoints = 100;

const std::vector<float>& Kernel() {
    static const std::vector<float> table = [] {
        std::vector<float> k(KernelReach * KernelSteps + 2);
        for (size_t i = 0; i < k.size(); ++i) {
            const double d = static_cast<double>(i) / KernelSteps;
            if (d >= KernelReach) continue;
            const double sinc = d == 0.0 ? 1.0 : std::sin(M_PI * d) / (M_PI * d);
            const double w = 0.42 + 0.5 * std::cos(M_PI * d / KernelReach) +
                             0.08 * std::cos(2.0 * M_PI * d / KernelReach);
            k[i] = static_cast<float>(sinc * w);
        }
        return k;
    }();
    return table;
}

double SampleAt(const float* samples, int64_t length, int64_t n) {
    if (n < 0 || n >= length || !std::isfinite(samples[n])) return 0.0;
    return std::clamp<double>(samples[n], -LargestSample, LargestSample);
}

// The band-limited signal between the samples. Positions are doubles on
// purpose: a float cannot place a fraction of a sample a few minutes in.
double ValueAt(const float* samples, int64_t length, double position) {
    const std::vector<float>& kernel = Kernel();
    const int64_t base = static_cast<int64_t>(std::floor(position));
    double sum = 0.0;
    for (int64_t n = base - KernelReach + 1; n <= base + KernelReach; ++n) {
        const double d = std::fabs(position - static_cast<double>(n)) * KernelSteps;
        const int32_t i = static_cast<int32_t>(d);
        if (i >= KernelReach * KernelSteps) continue;
        const double f = d - i;
        const double k = kernel[i] + f * (kernel[i + 1] - kernel[i]);
        sum += k * SampleAt(samples, length, n);
    }
    return sum;
}

// `points` values of one period from `start`, without their mean.
void SamplePeriod(const float* samples, int64_t length, double start, double period, int32_t points,
                  double* cycle) {
    double mean = 0.0;
    for (int32_t m = 0; m < points; ++m) {
        cycle[m] = ValueAt(samples, length, start + period * m / points);
        mean += cycle[m];
    }
    mean /= points;
    for (int32_t m = 0; m < points; ++m) cycle[m] -= mean;
}

// The phase of the cycle's fundamental, as of a cosine; false when it has none.
bool FundamentalPhase(const double* cycle, int32_t points, double& phase) {
    double re = 0.0, im = 0.0, energy = 0.0;
    for (int32_t m = 0; m < points; ++m) {
        const double a = 2.0 * M_PI * m / points;
        re += cycle[m] * std::cos(a);
        im -= cycle[m] * std::sin(a);
        energy += cycle[m] * cycle[m];
    }
    if (!(re * re + im * im > 1e-12 * energy * points) || energy == 0.0) return false;
    phase = std::atan2(im, re);
    return true;
}

// The track's period at `time`, between the found periods either side.
double PeriodAt(const PitchTrack& track, double time) {
    double beforeTime = -1.0, before = 0.0, afterTime = -1.0, after = 0.0;
    for (size_t j = 0; j < track.times.size(); ++j) {
        if (track.periods[j] <= 0.0) continue;
        if (track.times[j] <= time) {
            beforeTime = track.times[j];
            before = track.periods[j];
        } else if (afterTime < 0.0) {
            afterTime = track.times[j];
            after = track.periods[j];
        }
    }
    if (beforeTime < 0.0) return after;
    if (afterTime < 0.0 || afterTime == beforeTime) return before;
    return before + (after - before) * (time - beforeTime) / (afterTime - beforeTime);
}

} // namespace

void ExtractCycle(const float* samples, int64_t length, double centre, double period, float* out) {
    const int32_t points = std::max(SamplesPerFrame, static_cast<int32_t>(std::ceil(period)));
    std::vector<double> cycle(static_cast<size_t>(points));
    double start = centre - 0.5 * period;
    SamplePeriod(samples, length, start, period, points, cycle.data());
    double phase = 0.0;
    if (FundamentalPhase(cycle.data(), points, phase)) {
        // A later start advances the fundamental's phase by 2 pi per period;
        // a sine is a cosine at -pi / 2.
        // The shift goes towards the middle of the samples, so that a cycle
        // near an end stays within a period of where it was asked for.
        double shift = (-0.5 * M_PI - phase) / (2.0 * M_PI);
        shift -= std::floor(shift);
        if (2.0 * centre > static_cast<double>(length)) shift -= 1.0;
        start += shift * period;
        SamplePeriod(samples, length, start, period, points, cycle.data());
    }
    ResampleCycles(
        points, SamplesPerFrame, 1,
        [&](int32_t, double* buffer) { std::copy(cycle.begin(), cycle.end(), buffer); }, out);
}

CycleStatus BuildCycles(const float* samples, int64_t length, int32_t rate, double pitch,
                        int32_t count, float* out, double& found) {
    std::vector<double> periods(static_cast<size_t>(count));
    found = pitch;
    if (pitch > 0.0) {
        if (2.0 * pitch > rate) return CycleStatus::PitchTooHigh;
        std::fill(periods.begin(), periods.end(), rate / pitch);
    } else {
        PitchTrack track = TrackPitch(samples, length, rate, TrackPoints);
        const double steady = SteadyPeriod(track);
        if (steady <= 0.0) {
            found = 0.0;
            // Too short to hold two cycles of the lowest pitch looked for, a
            // span may have failed for its shortness alone.
            return length < 2.0 * rate / LowestPitch ? CycleStatus::TooShort : CycleStatus::NoPitch;
        }
        found = rate / steady;
        // The frames' places depend on the longest period; the track is dense
        // enough that the periods at the first guess of those places serve.
        for (int32_t i = 0; i < count; ++i) {
            const double time =
                count == 1 ? 0.5 * steady : 0.5 * steady + (length - steady) * i / (count - 1.0);
            periods[i] = PeriodAt(track, time);
        }
    }
    const double longest = *std::max_element(periods.begin(), periods.end());
    if (length < 2.0 * longest) return CycleStatus::TooShort;
    // The cycles keep the interpolation kernel's reach from the ends where the
    // span allows, so that no cycle is read against the silence beyond them.
    const double half = std::min(0.5 * longest + KernelReach, 0.5 * static_cast<double>(length));
    std::vector<float> frames(static_cast<size_t>(count) * SamplesPerFrame);
    for (int32_t i = 0; i < count; ++i) {
        const double centre = count == 1 ? half : half + (length - 2.0 * half) * i / (count - 1.0);
        ExtractCycle(samples, length, centre, periods[i],
                     frames.data() + static_cast<size_t>(i) * SamplesPerFrame);
    }
    PeakNormalize(frames.data(), static_cast<int32_t>(frames.size()));
    std::copy(frames.begin(), frames.end(), out);
    return CycleStatus::Ok;
}

double DetectPitch(const float* samples, int64_t length, int32_t rate) {
    PitchTrack track = TrackPitch(samples, length, rate, TrackPoints);
    const double steady = SteadyPeriod(track);
    return steady > 0.0 ? rate / steady : 0.0;
}

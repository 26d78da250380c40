#include "io/import_span.h"

#include <algorithm>
#include <cmath>

#include "io/pitch_tracker.h"

namespace {

constexpr double LevelStep = 0.01; // seconds
constexpr int64_t WindowSteps = 5; // a level window is 50 ms
constexpr double AttackDecibels = -6.0;
constexpr double SteadyDecibels = -12.0;
// The windows whose pitch is tracked at a time, from the end backwards.
constexpr int64_t TrackedWindows = 100;

double PowerRatio(double decibels) { return std::pow(10.0, decibels / 10.0); }

// The mean square of every 50 ms window, one starting at every step. Sums are
// in double: a window's squares run to thousands of terms.
bool ReadWindowPowers(const std::string& path, const AudioFileInfo& info, int64_t step,
                      std::vector<double>& powers, FileError& error) {
    std::vector<double> sums;
    int64_t inStep = step;
    const bool read = ReadAudioBlocks(
        path, 0, info.frames,
        [&](const float* mono, int64_t length) {
            for (int64_t n = 0; n < length; ++n, ++inStep) {
                if (inStep == step) {
                    sums.push_back(0.0);
                    inStep = 0;
                }
                const double s = std::isfinite(mono[n]) ? std::clamp(mono[n], -1e4f, 1e4f) : 0.0;
                sums.back() += s * s;
            }
        },
        error);
    if (!read) return false;
    const int64_t steps = static_cast<int64_t>(sums.size());
    const int64_t windows = std::max<int64_t>(1, steps - WindowSteps + 1);
    powers.assign(static_cast<size_t>(windows), 0.0);
    for (int64_t i = 0; i < windows; ++i) {
        const int64_t last = std::min(steps, i + WindowSteps);
        double sum = 0.0;
        for (int64_t k = i; k < last; ++k) sum += sums[static_cast<size_t>(k)];
        const int64_t samples = std::min(info.frames, last * step) - i * step;
        powers[static_cast<size_t>(i)] = sum / static_cast<double>(std::max<int64_t>(1, samples));
    }
    return true;
}

// The last window from `last` down to `first` that is at least `least` loud
// and in which the tracker finds a period; `last` when there is none.
bool LastPitchedWindow(const std::string& path, const AudioFileInfo& info, int64_t step,
                       const std::vector<double>& powers, double least, int64_t first, int64_t last,
                       int64_t& found, FileError& error) {
    found = last;
    for (int64_t hi = last; hi >= first; hi -= TrackedWindows) {
        const int64_t lo = std::max(first, hi - TrackedWindows + 1);
        const int64_t start = lo * step;
        const int64_t end = std::min(info.frames, (hi + WindowSteps) * step);
        std::vector<float> samples;
        if (!ReadAudioSpan(path, start, end - start, samples, error)) return false;
        const PitchTrack track =
            TrackPitch(samples.data(), end - start, info.rate, static_cast<int32_t>(hi - lo + 1));
        for (int64_t j = hi; j >= lo; --j) {
            if (track.periods[static_cast<size_t>(j - lo)] > 0.0 &&
                powers[static_cast<size_t>(j)] >= least) {
                found = j;
                return true;
            }
        }
    }
    return true;
}

} // namespace

bool FindSteadySpan(const std::string& path, const AudioFileInfo& info, AudioEnvelope& envelope,
                    AudioSpan& span, FileError& error) {
    const int64_t step = std::max<int64_t>(1, std::llround(info.rate * LevelStep));
    std::vector<double> powers;
    if (!ReadWindowPowers(path, info, step, powers, error)) return false;
    const double loudest = *std::max_element(powers.begin(), powers.end());
    envelope.step = static_cast<double>(step) / info.rate;
    envelope.levels.clear();
    for (double power : powers)
        envelope.levels.push_back(
            power > 0.0
                ? std::max(EnvelopeFloor, static_cast<float>(10.0 * std::log10(power / loudest)))
                : EnvelopeFloor);
    const double seconds = static_cast<double>(info.frames) / info.rate;
    span = {0.0, seconds};
    if (!(loudest > 0.0)) return true;
    const auto loudEnough = [&](double decibels) {
        const double least = loudest * PowerRatio(decibels);
        return [least](double power) { return power >= least; };
    };
    const int64_t attack =
        std::find_if(powers.begin(), powers.end(), loudEnough(AttackDecibels)) - powers.begin();
    const int64_t steady =
        powers.rend() - std::find_if(powers.rbegin(), powers.rend(), loudEnough(SteadyDecibels)) -
        1;
    int64_t last = steady;
    if (!LastPitchedWindow(path, info, step, powers, loudest * PowerRatio(SteadyDecibels), attack,
                           steady, last, error))
        return false;
    // A sound still steady in the last window holds to the file's end.
    const auto time = [&](int64_t window) {
        return window + 1 == static_cast<int64_t>(powers.size())
                   ? seconds
                   : std::min(seconds, static_cast<double>(window * step) / info.rate);
    };
    span = {time(attack + WindowSteps), std::max(time(attack + WindowSteps), time(last))};
    return true;
}

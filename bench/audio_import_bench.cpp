// Import Audio on a 10-second 44.1 kHz stereo FLAC file: reading the span
// alone (the baseline), and reading, tracking and cutting 100 frames; and the
// pitch tracker alone over 2 seconds of sound.
#include <benchmark/benchmark.h>

#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/editor_state.h"
#include "io/audio_import_pipeline.h"
#include "io/pitch_tracker.h"

namespace {

constexpr int Rate = 44100;

// A violin-like tone at 196 Hz with a 5 Hz vibrato, 24 harmonics.
std::vector<float> Tone(double seconds) {
    std::vector<float> tone(static_cast<size_t>(seconds * Rate));
    double phase = 0.0;
    for (size_t n = 0; n < tone.size(); ++n) {
        double sum = 0.0;
        for (int k = 1; k <= 24; ++k) sum += std::sin(k * phase) / k;
        tone[n] = static_cast<float>(0.15 * sum);
        phase += 2.0 * M_PI * 196.0 * (1.0 + 0.004 * std::sin(2.0 * M_PI * 5.0 * n / Rate)) / Rate;
    }
    return tone;
}

const std::string& FlacFile() {
    static const std::string path = [] {
        std::string folder =
            (std::filesystem::temp_directory_path() / "qarno-bench-XXXXXX").string();
        if (!mkdtemp(folder.data())) std::abort();
        const std::string file = folder + "/tone.flac";
        const std::vector<float> mono = Tone(10.0);
        std::vector<float> stereo;
        for (float s : mono) stereo.insert(stereo.end(), {s, 0.8f * s});
        SF_INFO info = {};
        info.samplerate = Rate;
        info.channels = 2;
        info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
        if (out == nullptr) std::abort();
        sf_writef_float(out, stereo.data(), static_cast<sf_count_t>(mono.size()));
        sf_close(out);
        return file;
    }();
    return path;
}

void ReadTenSecondFlac(benchmark::State& state) {
    std::vector<float> mono;
    FileError error;
    for (auto _ : state) {
        if (!ReadAudioSpan(FlacFile(), 0, 10 * Rate, mono, error)) state.SkipWithError("read");
        benchmark::DoNotOptimize(mono.data());
    }
}
BENCHMARK(ReadTenSecondFlac)->Unit(benchmark::kMillisecond);

void ImportTenSecondFlac(benchmark::State& state) {
    std::vector<float> frames(TableSamples);
    double found = 0.0;
    std::string message;
    for (auto _ : state) {
        if (!ImportAudioCycles(FlacFile(), {0.0, 10.0}, 0.0, FrameCount, frames.data(), found,
                               message))
            state.SkipWithError(message.c_str());
        benchmark::DoNotOptimize(frames.data());
    }
}
BENCHMARK(ImportTenSecondFlac)->Unit(benchmark::kMillisecond);

void TrackTwoSeconds(benchmark::State& state) {
    const std::vector<float> tone = Tone(2.0);
    for (auto _ : state) {
        PitchTrack track = TrackPitch(tone.data(), static_cast<int64_t>(tone.size()), Rate, 100);
        benchmark::DoNotOptimize(SteadyPeriod(track));
    }
}
BENCHMARK(TrackTwoSeconds)->Unit(benchmark::kMillisecond);

} // namespace

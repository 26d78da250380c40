// Sound in the tests, measured in double; tones written with libsndfile or rendered by fluidsynth.
#pragma once

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/table_shape.h"
#include "tests/file_helpers.h"

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

// The 7-term Blackman-Harris window of n samples, summing to n times its first term.
constexpr double WindowMean = 0.27105140069342;
inline const std::vector<double>& Window(size_t n) {
    static std::map<size_t, std::vector<double>> made;
    std::vector<double>& w = made[n];
    const double a[] = {WindowMean,       -0.43329793923448, 0.21812299954311, -0.06592544638803,
                        0.01081174209837, -0.00077658482522, 0.00001388721735};
    for (size_t i = w.size(); i < n; ++i) {
        w.push_back(0.0);
        for (int k = 0; k < 7; ++k) w[i] += a[k] * std::cos(2.0 * M_PI * k * i / n);
    }
    return w;
}

// The amplitude of the component at `hz` in `x` sampled at `rate`, through the window.
inline double Amplitude(const std::vector<float>& x, double hz, double rate) {
    const std::vector<double>& w = Window(x.size());
    const std::complex<double> turn = std::polar(1.0, -2.0 * M_PI * hz / rate);
    std::complex<double> z = 1.0, sum = 0.0;
    for (size_t i = 0; i < x.size(); ++i, z *= turn) sum += z * (x[i] * w[i]);
    return 2.0 * std::abs(sum) / (WindowMean * x.size());
}

// The largest magnitude in x[from .. to - 1]; with `steps`, of the steps x[i] - x[i - 1].
inline float Peak(const std::vector<float>& x, size_t from = 0, size_t to = SIZE_MAX,
                  bool steps = false) {
    float peak = 0.0f;
    for (size_t i = std::max<size_t>(from, steps); i < std::min(to, x.size()); ++i)
        peak = std::max(peak, std::fabs(x[i] - (steps ? x[i - 1] : 0.0f)));
    return peak;
}

// The frequency of the strongest component within 3 Hz of `guess`.
inline double PeakHz(const std::vector<float>& x, double guess, double rate) {
    double lo = guess - 3.0, hi = guess + 3.0, g = 0.5 * (std::sqrt(5.0) - 1.0);
    while (hi - lo > 1e-5) {
        const double a = hi - g * (hi - lo), b = lo + g * (hi - lo);
        std::tie(lo, hi) =
            Amplitude(x, a, rate) > Amplitude(x, b, rate) ? std::pair(lo, b) : std::pair(a, hi);
    }
    return 0.5 * (lo + hi);
}

// The strongest component farther than `band` Hz from every harmonic of f0: dB under it, Hz.
inline std::pair<double, double> WorstBetweenHarmonics(const std::vector<float>& x, double f0,
                                                       double rate, double band) {
    const std::vector<double>& w = Window(x.size());
    std::vector<double> in(x.size());
    for (size_t i = 0; i < x.size(); ++i) in[i] = x[i] * w[i];
    const Bins bins = RealSpectrum(in, 2 * x.size());
    const double fundamental = Amplitude(x, f0, rate);
    std::pair<double, double> worst = {-400.0, 0.0};
    for (size_t k = 0; k < bins.size(); ++k) {
        const double hz = rate * k / (2.0 * x.size());
        if (std::fabs(hz - std::round(hz / f0) * f0) <= band) continue;
        worst = std::max(
            worst, {Decibels(2.0 * std::abs(bins[k]) / (WindowMean * x.size()) / fundamental), hz});
    }
    return worst;
}

// Writes interleaved samples with libsndfile; false for a format this libsndfile lacks.
inline bool WriteSound(const std::string& path, int format, int rate, int channels,
                       const std::vector<float>& samples) {
    SF_INFO info = {0, rate, channels, format, 0, 0};
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return false;
    double quality = 1.0; // Vorbis at its best
    if ((format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG)
        sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    const sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
    const bool ok = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

// A tone of `harmonics` harmonics at `hz`, harmonic k at level 1 / k and phase 0.3 k^2.
inline std::vector<float> HarmonicTone(double hz, double seconds, int rate, int harmonics) {
    std::vector<float> tone(static_cast<size_t>(seconds * rate));
    for (size_t n = 0; n < tone.size(); ++n) {
        double sum = 0.0;
        for (int k = 1; k <= harmonics; ++k)
            sum += std::sin(2.0 * M_PI * hz * k * static_cast<double>(n) / rate + 0.3 * k * k) / k;
        tone[n] = static_cast<float>(0.13 * sum);
    }
    return tone;
}

// How far above every other bin of 1 .. 511 the frame's bin 1 stands, in dB.
inline double FundamentalMargin(const float* frame) {
    const std::vector<std::complex<double>> bins = FrameSpectrum(frame);
    double other = 1e-30;
    for (int k = 2; k < SamplesPerFrame / 2; ++k) other = std::max(other, std::abs(bins[k]));
    return Decibels(std::abs(bins[1]) / other);
}

// The pitch of a rendered note over the span as a long Hann-windowed spectrum shows it.
inline double MeasuredPitch(const std::string& path, double nominal, double from, double to) {
    const SndfileView view = ReadWithSndfile(path);
    const SF_INFO& info = view.format;
    const size_t size = 1 << 19;
    std::vector<double> in;
    const sf_count_t first = static_cast<sf_count_t>(from * info.samplerate),
                     count = std::min<sf_count_t>(
                         std::min<sf_count_t>(info.frames, to * info.samplerate) - first, size);
    for (sf_count_t n = 0; n < count; ++n)
        in.push_back(view.samples[(first + n) * info.channels] *
                     (0.5 - 0.5 * std::cos(2.0 * M_PI * n / count)));
    const Bins bins = RealSpectrum(in, size);
    const double binHz = static_cast<double>(info.samplerate) / size;
    // Each of the first twelve harmonics' peak, interpolated, over its number, weighted by power.
    double sum = 0.0, weights = 0.0;
    for (int harmonic = 1; harmonic <= 12; ++harmonic) {
        int peak = static_cast<int>(nominal * harmonic * 0.944 / binHz);
        for (int k = peak; k <= static_cast<int>(nominal * harmonic * 1.059 / binHz); ++k)
            if (std::abs(bins[k]) > std::abs(bins[peak])) peak = k;
        const double a = std::log(std::abs(bins[peak - 1])), b = std::log(std::abs(bins[peak])),
                     c = std::log(std::abs(bins[peak + 1])), weight = std::norm(bins[peak]);
        sum += weight * (peak + 0.5 * (a - c) / (a - 2.0 * b + c)) * binHz / harmonic;
        weights += weight;
    }
    return sum / weights;
}

constexpr const char* GeneralMidiFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

// Renders one General MIDI note held `seconds` into a 44.1 kHz WAV; false when that fails.
inline bool RenderNote(const std::string& folder, const std::string& wav, int program, int note,
                       double seconds) {
    if (!std::filesystem::exists(GeneralMidiFont)) return false;
    const int ticks = static_cast<int>(seconds * 960); // 480 a beat at 120 beats a minute
    const std::string header("MThd\0\0\0\6\0\0\0\1\1\xE0MTrk\0\0\0\x12", 22); // 18 bytes follow
    std::vector<uint8_t> midi(header.begin(), header.end());
    for (int b :
         {0x00, 0xC0, program, 0x00, 0x90, note, 100, 0x80 | ((ticks >> 14) & 0x7F),
          0x80 | ((ticks >> 7) & 0x7F), ticks & 0x7F, 0x80, note, 0, 0x83, 0x60, 0xFF, 0x2F, 0x00})
        midi.push_back(static_cast<uint8_t>(b));
    const std::string midiPath = folder + "/note.mid";
    WriteBytes(midiPath, midi);
    const std::string command = "fluidsynth -ni -q -g 1 -r 44100 -F '" + wav + "' " +
                                GeneralMidiFont + " '" + midiPath + "' > /dev/null 2>&1";
    return std::system(command.c_str()) == 0 && std::filesystem::file_size(wav) > 44;
}

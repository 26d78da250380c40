// Recorded sound for the import tests: tones written with libsndfile, and the
// harmonics of an imported frame.
#pragma once

#include <sndfile.h>

#include "tests/file_helpers.h"

// Writes interleaved samples with libsndfile in the given format; false when it
// cannot (a format this libsndfile lacks).
inline bool WriteSound(const std::string& path, int format, int rate, int channels,
                       const std::vector<float>& samples) {
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return false;
    // Vorbis at its best, which still loses a little of the weak harmonics.
    double quality = 1.0;
    if ((format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG)
        sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    const sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
    const bool ok = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

// A tone of `harmonics` harmonics at `hz`, harmonic k at level 1 / k and phase
// 0.3 k^2 (so that its cycle is no plain shape), 0.5 at its peak or less.
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

// Bin k of a 1024-sample frame, as a cosine's amplitude and phase.
inline std::complex<double> FrameBin(const float* frame, int k) {
    std::complex<double> sum = 0.0;
    for (int n = 0; n < SamplesPerFrame; ++n)
        sum += static_cast<double>(frame[n]) * std::polar(1.0, -2.0 * M_PI * k * n / SamplesPerFrame);
    return sum * (2.0 / SamplesPerFrame);
}

inline double Decibels(double ratio) { return 20.0 * std::log10(ratio); }

// How far above every other bin of 1 .. 511 the frame's bin 1 stands, in dB:
// a single cycle stands far above.
inline double FundamentalMargin(const float* frame) {
    const double fundamental = std::abs(FrameBin(frame, 1));
    double other = 1e-30;
    for (int k = 2; k < SamplesPerFrame / 2; ++k) other = std::max(other, std::abs(FrameBin(frame, k)));
    return Decibels(fundamental / other);
}

inline double Cents(double hz, double reference) { return 1200.0 * std::log2(hz / reference); }

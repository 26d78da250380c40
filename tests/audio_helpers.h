// Recorded sound for the import tests: tones written with libsndfile or
// rendered by fluidsynth, and their pitch.
#pragma once

#include <sndfile.h>

#include "tests/file_helpers.h"
#include "tests/spectrum.h"

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

// How far above every other bin of 1 .. 511 the frame's bin 1 stands, in dB:
// a single cycle stands far above.
inline double FundamentalMargin(const float* frame) {
    const std::vector<std::complex<double>> bins = FrameSpectrum(frame);
    double other = 1e-30;
    for (int k = 2; k < SamplesPerFrame / 2; ++k) other = std::max(other, std::abs(bins[k]));
    return Decibels(std::abs(bins[1]) / other);
}

// The pitch of a rendered note over the span as a long Hann-windowed spectrum shows it.
inline double MeasuredPitch(const std::string& path, double nominal, double from, double to) {
    SF_INFO info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) return 0.0;
    std::vector<float> frames(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    const size_t size = 1 << 19;
    std::vector<double> in;
    const sf_count_t first = static_cast<sf_count_t>(from * info.samplerate),
                     count = std::min<sf_count_t>(
                         std::min<sf_count_t>(info.frames, to * info.samplerate) - first, size);
    for (sf_count_t n = 0; n < count; ++n)
        in.push_back(frames[(first + n) * info.channels] *
                     (0.5 - 0.5 * std::cos(2.0 * M_PI * n / count)));
    const Bins bins = RealSpectrum(in, size);
    const double binHz = static_cast<double>(info.samplerate) / size;
    // The strongest peak within a semitone of each of the first twelve harmonics,
    // interpolated on its log magnitudes, over its harmonic number, weighted
    // by its power.
    double sum = 0.0, weights = 0.0;
    for (int harmonic = 1; harmonic <= 12; ++harmonic) {
        const double centre = nominal * harmonic;
        const int low = static_cast<int>(centre * 0.944 / binHz);
        const int high = static_cast<int>(centre * 1.059 / binHz);
        int peak = low;
        for (int k = low; k <= high; ++k)
            if (std::abs(bins[k]) > std::abs(bins[peak])) peak = k;
        const double a = std::log(std::abs(bins[peak - 1])), b = std::log(std::abs(bins[peak])),
                     c = std::log(std::abs(bins[peak + 1]));
        const double weight = std::norm(bins[peak]);
        sum += weight * (peak + 0.5 * (a - c) / (a - 2.0 * b + c)) * binHz / harmonic;
        weights += weight;
    }
    return sum / weights;
}

constexpr const char* GeneralMidiFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

// Renders one note of a General MIDI program with fluidsynth into a 44.1 kHz
// WAV file: a MIDI file of one track, the program change, the note held for
// `seconds` and a short release. False when fluidsynth or the font is missing
// or the render fails.
inline bool RenderNote(const std::string& folder, const std::string& wav, int program, int note,
                       double seconds) {
    if (!std::filesystem::exists(GeneralMidiFont)) return false;
    const int ticks = static_cast<int>(seconds * 960); // 480 a beat at 120 beats a minute
    std::vector<uint8_t> track = {
        0x00, 0xC0, static_cast<uint8_t>(program), 0x00, 0x90, static_cast<uint8_t>(note), 100};
    // The hold as a variable-length quantity, then the note off and a rest.
    track.push_back(static_cast<uint8_t>(0x80 | ((ticks >> 14) & 0x7F)));
    track.push_back(static_cast<uint8_t>(0x80 | ((ticks >> 7) & 0x7F)));
    track.push_back(static_cast<uint8_t>(ticks & 0x7F));
    for (uint8_t b : {0x80, note, 0, 0x83, 0x60, 0xFF, 0x2F, 0x00})
        track.push_back(static_cast<uint8_t>(b));
    std::vector<uint8_t> midi = {
        'M', 'T',  'h',  'd', 0,   0,   0,   6, 0, 0, 0,
        1,   0x01, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(track.size())};
    midi.insert(midi.end(), track.begin(), track.end());
    const std::string midiPath = folder + "/note.mid";
    WriteBytes(midiPath, midi);
    const std::string command = "fluidsynth -ni -q -g 1 -r 44100 -F '" + wav + "' " +
                                GeneralMidiFont + " '" + midiPath + "' > /dev/null 2>&1";
    return std::system(command.c_str()) == 0 && std::filesystem::file_size(wav) > 44;
}

#include "io/audio_import.h"
#include "io/cycle_extract.h"
#include "io/pitch_names.h"
#include "tests/audio_helpers.h"

namespace {

struct Format {
    const char* name;
    int format;
    double levelTolerance; // dB
};
const Format Formats[] = {
    {"tone.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 0.1},
    {"tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 0.1},
    {"tone.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1.0},
};

} // namespace

// 20 harmonics at 196 Hz (225 samples a cycle) and 261.63 Hz (168.56): the pitch to half a
// cent, and in every frame the tone's harmonic levels, the fundamental as a sine from sample
// 0, and no seam (a jump between a frame's ends would spread above the 20th harmonic).
TEST(ImportAudio, SyntheticTonesGiveTheirCyclesInEveryFormat) {
    ScratchFolder folder;
    std::vector<float> frames(static_cast<size_t>(TableSamples));
    for (double hz : {196.0, 261.63}) {
        const std::vector<float> tone = HarmonicTone(hz, 1.2, 44100, 20);
        for (const Format& f : Formats) {
            SCOPED_TRACE(std::string(f.name) + " at " + std::to_string(hz));
            const std::string path = folder.File(f.name);
            ASSERT_TRUE(WriteSound(path, f.format, 44100, 1, tone));
            AudioFileInfo info;
            FileError error;
            ASSERT_TRUE(ProbeAudioFile(path, info, error)) << error.why;
            double found = 0.0;
            std::string message;
            ASSERT_TRUE(ImportAudioCycles(path, DefaultSpan(info), 0.0, FrameCount, frames.data(),
                                          found, message))
                << message;
            EXPECT_LT(std::fabs(Cents(found, hz)), 0.5) << found;
            double worstLevel = 0.0, worstPhase = 0.0, worstSeam = -1000.0;
            for (int i = 0; i < FrameCount; ++i) {
                const float* frame = frames.data() + i * SamplesPerFrame;
                const std::complex<double> first = FrameBin(frame, 1);
                for (int k = 2; k <= 20; ++k)
                    worstLevel = std::max(worstLevel, std::fabs(Decibels(std::abs(FrameBin(frame, k)) /
                                                                         std::abs(first) * k)));
                worstPhase = std::max(worstPhase, std::fabs(std::remainder(std::arg(first) + M_PI / 2, 2 * M_PI)));
                for (int k = 21; k < SamplesPerFrame / 2; ++k)
                    worstSeam = std::max(worstSeam, Decibels(std::abs(FrameBin(frame, k)) / std::abs(first)));
            }
            EXPECT_LT(worstLevel, f.levelTolerance);
            EXPECT_LT(worstPhase, 0.01);
            EXPECT_LT(worstSeam, -60.0);
        }
    }
}

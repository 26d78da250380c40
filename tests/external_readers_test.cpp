// Files the editor exports, read by programs nobody here wrote: sox and
// libsndfile.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#ifdef QARNO_HAVE_SNDFILE
#include <sndfile.h>
#endif

#include "core/command_ids.h"
#include "tests/file_helpers.h"
#include "tests/test_support.h"

namespace {

// The three kinds of exported file: frame 5 of a table, the table with the
// loop over frames 10..90, and the padwave.
struct Exports {
    ScratchFolder folder;
    std::string frame = folder.File("frame.wav");
    std::string table = folder.File("table.wav");
    std::string pad = folder.File("pad.wav");
    Exports() {
        FreshEditor();
        for (int i = 0; i < TableSamples; ++i) Wavetable[i] = static_cast<float>(i % 2001 - 1000) * 0.0006f;
        for (int i = 0; i < PadwaveSamples; ++i) PadwaveBuffer[i] = static_cast<float>(i % 777) * 0.0008f - 0.3f;
        ViewMode = ViewWaveform;
        CurrentFrame = 5;
        CommandOn(CmdSaveWaveform, frame);
        ViewMode = ViewWavetable;
        CurrentFrame = 90;
        OffsetFrame = 10;
        CommandOn(CmdSaveWavetable, table);
        ViewMode = ViewPadwave;
        CommandOn(CmdSavePadwave, pad);
    }
};

std::string OutputOf(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
    return out;
}

// The samples of an exported file as the editor wrote them.
std::vector<uint8_t> DataOf(const std::vector<uint8_t>& file) {
    return std::vector<uint8_t>(file.begin() + 44, file.begin() + 44 + U32At(file, 40));
}

}  // namespace

TEST(ExternalReaders, SoxReadsFormatLengthAndSamples) {
    if (std::system("command -v sox > /dev/null 2>&1") != 0) GTEST_SKIP() << "sox is not installed";
    Exports e;
    const struct {
        std::string path;
        const char* samples;
    } files[] = {{e.frame, "1024\n"}, {e.table, "102400\n"}, {e.pad, "131072\n"}};
    for (const auto& f : files) {
        EXPECT_EQ(OutputOf("sox --i -r '" + f.path + "'"), "44100\n") << f.path;
        EXPECT_EQ(OutputOf("sox --i -c '" + f.path + "'"), "1\n") << f.path;
        EXPECT_EQ(OutputOf("sox --i -b '" + f.path + "'"), "16\n") << f.path;
        EXPECT_EQ(OutputOf("sox --i -s '" + f.path + "'"), f.samples) << f.path;
        // sox's own decoding, as raw 16-bit little-endian, is byte for byte ours.
        const std::string raw = OutputOf("sox '" + f.path + "' -t raw -e signed -b 16 -L -");
        const std::vector<uint8_t> data = DataOf(ReadBytes(f.path));
        EXPECT_TRUE(std::equal(raw.begin(), raw.end(), data.begin(), data.end(),
                               [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; }))
            << f.path;
    }
}

#ifdef QARNO_HAVE_SNDFILE
TEST(ExternalReaders, LibsndfileReadsTheLoopAndSamples) {
    Exports e;
    // libsndfile hands the loop end out one past the last sample, so a loop
    // over whole frames is a multiple of 1024 samples long.
    const struct {
        std::string path;
        sf_count_t frames;
        unsigned start, end;
    } files[] = {{e.frame, 1024, 0, 1024}, {e.table, 102400, 10240, 93184}, {e.pad, 131072, 0, 131072}};
    for (const auto& f : files) {
        SF_INFO info = {};
        SNDFILE* file = sf_open(f.path.c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr) << f.path << ": " << sf_strerror(nullptr);
        EXPECT_EQ(info.frames, f.frames);
        EXPECT_EQ(info.samplerate, 44100);
        EXPECT_EQ(info.channels, 1);
        EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        SF_INSTRUMENT instrument = {};
        EXPECT_EQ(sf_command(file, SFC_GET_INSTRUMENT, &instrument, sizeof instrument), SF_TRUE);
        EXPECT_EQ(instrument.basenote, 60);
        EXPECT_EQ(instrument.loop_count, 1);
        EXPECT_EQ(instrument.loops[0].mode, SF_LOOP_FORWARD);
        EXPECT_EQ(instrument.loops[0].start, f.start) << f.path;
        EXPECT_EQ(instrument.loops[0].end, f.end) << f.path;
        std::vector<short> samples(static_cast<size_t>(f.frames) + 1);
        EXPECT_EQ(sf_read_short(file, samples.data(), f.frames + 1), f.frames);
        const std::vector<uint8_t> data = DataOf(ReadBytes(f.path));
        for (sf_count_t i = 0; i < f.frames; ++i)
            ASSERT_EQ(samples[i], S16At(data, 2 * static_cast<size_t>(i))) << f.path << " " << i;
        sf_close(file);
    }
}
#else
TEST(ExternalReaders, LibsndfileReadsTheLoopAndSamples) {
    GTEST_SKIP() << "libsndfile (libsndfile1-dev) was not found when the tests were built";
}
#endif

TEST(ExternalReaders, ExportedTableLoadsBackIntoTheEditor) {
    Exports e;
    std::vector<float> before(Wavetable, Wavetable + TableSamples);
    ViewMode = ViewWavetable;
    std::fill(Wavetable, Wavetable + TableSamples, 0.0f);
    CommandOn(CmdLoadWavetable, e.table);
    for (int i = 0; i < TableSamples; ++i) {
        const float stored = static_cast<float>(static_cast<int32_t>(before[i] * 65536.0f * 0.76f));
        ASSERT_EQ(Wavetable[i], stored * 0.00002f) << i;
    }
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
}

// Tables that wavetable synthesizers read right, and their tables read right
// here: frame-size tags, the 2048-sample export and resampled imports.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <map>

#ifdef QARNO_HAVE_SNDFILE
#include <sndfile.h>
#endif

#include "tests/file_helpers.h"

namespace {

const double TwoPi = 6.283185307179586;
const float FloatScale = 0.65536f;  // a float sample x loads as x x 0.65536
const float RoundTrip = 0.9961472f;  // 1.52 x 0.65536

// The chunks after "WAVE", first of each kind, by tag.
std::map<std::string, std::vector<uint8_t>> Chunks(const std::vector<uint8_t>& file) {
    std::map<std::string, std::vector<uint8_t>> chunks;
    for (size_t at = 12; at + 8 <= file.size();) {
        const size_t length = U32At(file, at + 4);
        const std::string tag(file.begin() + at, file.begin() + at + 4);
        chunks.emplace(tag, std::vector<uint8_t>(file.begin() + at + 8, file.begin() + at + 8 + length));
        at += 8 + length + length % 2;
    }
    return chunks;
}

// The frame size Surge XT's public loader takes: a "clm " chunk only when it
// says 2048, else a "cue " chunk (never written here: -1), else an 8-byte
// "srge" chunk, else the "smpl" loop length; 0 when it refuses the size (not a
// power of two up to 4096).
int SurgeFrameSize(const std::vector<uint8_t>& file) {
    auto chunks = Chunks(file);
    int size = 0;
    if (chunks.count("clm ") && std::string(chunks["clm "].begin(), chunks["clm "].end()).rfind("<!>2048", 0) == 0)
        size = 2048;
    else if (chunks.count("cue "))
        return -1;
    else if (chunks.count("srge") && chunks["srge"].size() == 8)
        size = static_cast<int>(U32At(chunks["srge"], 4));
    else if (chunks.count("smpl"))
        size = static_cast<int>(U32At(chunks["smpl"], 48) - U32At(chunks["smpl"], 44) + 1);
    const bool powerOfTwo = size > 0 && (size & (size - 1)) == 0;
    return powerOfTwo && size <= 4096 ? size : 0;
}

std::vector<uint8_t> Text(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> SrgeBody(uint32_t frameSize) {
    std::vector<uint8_t> body;
    PutU32(body, 1);
    PutU32(body, frameSize);
    return body;
}

std::vector<float> ExportedSamples(const std::vector<uint8_t>& file) {
    const std::vector<uint8_t> data = Chunks(file)["data"];
    std::vector<float> samples(data.size() / 4);
    std::memcpy(samples.data(), data.data(), data.size());
    return samples;
}

// |bin k| of the DFT of `n` samples, in double.
double BinMagnitude(const float* samples, int n, int k) {
    std::complex<double> sum = 0.0;
    for (int j = 0; j < n; ++j) sum += static_cast<double>(samples[j]) * std::polar(1.0, -TwoPi * k * j / n);
    return std::abs(sum);
}

// Every frame different, frame 7 at the Nyquist frequency.
void FillTableWithWaves() {
    for (int f = 0; f < FrameCount; ++f)
        for (int n = 0; n < SamplesPerFrame; ++n)
            FrameAt(f)[n] = static_cast<float>(0.3 * std::sin(TwoPi * (f % 9 + 1) * n / 1024 + f) + 0.001 * f);
    for (int n = 0; n < SamplesPerFrame; ++n) FrameAt(7)[n] = n % 2 ? -0.25f : 0.3f;
}

}  // namespace

TEST(SynthReaders, SurgeRuleAndTwoThousandWindowsFindTheFrames) {
    FreshEditor();
    ScratchFolder folder;
    ViewMode = ViewWavetable;
    const int32_t selections[][2] = {{90, 10}, {5, 6}, {3, 3}};
    for (const auto& knobs : selections) {
        CurrentFrame = knobs[0];
        OffsetFrame = knobs[1];
        CommandOn(CmdSaveWavetable, folder.File("table.wav"));
        const std::vector<uint8_t> saved = ReadBytes(folder.File("table.wav"));
        EXPECT_EQ(SurgeFrameSize(saved), 1024) << knobs[0] << "/" << knobs[1];
        EXPECT_EQ(Chunks(saved)["data"].size() / 2 / 1024, 100u);
    }
    CommandOn(CmdExport2048, folder.File("export.wav"));
    const std::vector<uint8_t> exported = ReadBytes(folder.File("export.wav"));
    EXPECT_EQ(SurgeFrameSize(exported), 2048);
    EXPECT_EQ(Chunks(exported)["data"].size() / 4 / 2048, 100u);
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
}

TEST(Export2048, LayoutLevelsAndBandLimit) {
    SKIP_WITHOUT_SOX();
    FreshEditor();
    ScratchFolder folder;
    FillTableWithWaves();
    Command(CmdSaw);
    ViewMode = ViewWavetable;
    CommandOn(CmdExport2048, folder.File("export.wav"));
    const std::string path = folder.File("export.wav");
    const std::vector<uint8_t> b = ReadBytes(path);
    ASSERT_EQ(b.size(), 819288u);
    EXPECT_EQ(U32At(b, 4), 819280u);
    const std::string clm("clm \x24\0\0\0<!>2048 10000000 wavetable (QARNO)\0\0data\0\x80\x0c\0", 52);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 88), clm);

    const std::vector<float> out = ExportedSamples(b);
    for (int f = 0; f < FrameCount; ++f)
        for (int n = 0; n < SamplesPerFrame; ++n)
            ASSERT_NEAR(out[2048 * f + 2 * n], FrameAt(f)[n] * 1.52f, 2e-6f) << f << " " << n;
    // The saw's 2048-point spectrum: strong harmonics, nothing above bin 512.
    EXPECT_GT(BinMagnitude(out.data(), 2048, 1), 300.0);
    for (int k = 513; k <= 1024; ++k) ASSERT_LT(BinMagnitude(out.data(), 2048, k), 1e-3) << k;

    EXPECT_EQ(SoxInfo(path, "rcbse"), "44100\n1\n32\n204800\nFloating Point PCM\n");
#ifdef QARNO_HAVE_SNDFILE
    SF_INFO format = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &format);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<float> read(204800);
    EXPECT_EQ(sf_read_float(file, read.data(), 204800), 204800);
    sf_close(file);
    EXPECT_EQ(format.samplerate, 44100);
    EXPECT_EQ(format.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(read, out);
#endif
}

TEST(Export2048, LoadsBackAsTheSameTable) {
    FreshEditor();
    ScratchFolder folder;
    FillTableWithWaves();
    const std::vector<float> before(Wavetable, Wavetable + TableSamples);
    ViewMode = ViewWavetable;
    CommandOn(CmdExport2048, folder.File("export.wav"));
    FillTableWithIndices();
    CommandOn(CmdLoadWavetable, folder.File("export.wav"));
    for (int i = 0; i < TableSamples; ++i) ASSERT_NEAR(Wavetable[i], before[i] * RoundTrip, 2e-5f) << i;
    // Load Waveform takes the first frame.
    ViewMode = ViewWaveform;
    CurrentFrame = 4;
    CommandOn(CmdLoadWaveform, folder.File("export.wav"));
    for (int n = 0; n < SamplesPerFrame; ++n) ASSERT_NEAR(FrameAt(4)[n], before[n] * RoundTrip, 2e-5f) << n;
}

// 256 frames of 2048 floats tagged "clm ": frame i takes source frame
// round(i x 255 / 99), each a DC level of its number plus a third harmonic.
TEST(ForeignTables, LongClmSweepKeepsItsWholeJourney) {
    FreshEditor();
    ScratchFolder folder;
    std::vector<float> samples(256 * 2048);
    for (int k = 0; k < 256; ++k)
        for (int j = 0; j < 2048; ++j)
            samples[2048 * k + j] = static_cast<float>(0.001 * k + 0.2 * std::sin(TwoPi * 3 * j / 2048));
    const std::vector<uint8_t> clm = Chunk("clm ", Text("<!>2048 10000000 wavetable (maker)"));
    WriteBytes(folder.File("sweep.wav"), WavFile(Fmt(3, 1, 32), clm, FloatData(samples)));
    ViewMode = ViewWavetable;
    CommandOn(CmdLoadWavetable, folder.File("sweep.wav"));
    for (int i = 0; i < FrameCount; ++i) {
        const int source = (2 * i * 255 + 99) / 198;
        for (int n = 0; n < SamplesPerFrame; n += 37) {
            const double expected = (0.001 * source + 0.2 * std::sin(TwoPi * 3 * n / 1024)) * FloatScale;
            ASSERT_NEAR(Wavetable[i * 1024 + n], expected, 1e-6) << i << " " << n;
        }
    }
    EXPECT_NEAR(FrameAt(99)[0], 0.255 * FloatScale, 1e-6);
}

// 64 frames of 256 16-bit samples tagged "srge": frames 0..63 filled, every
// fourth sample the source's own, the rest zeros.
TEST(ForeignTables, ShortSrgeFramesFillTheFirstFramesAndZeroTheRest) {
    FreshEditor();
    ScratchFolder folder;
    std::vector<uint8_t> data;
    for (int k = 0; k < 64; ++k)
        for (int j = 0; j < 256; ++j)
            PutU16(data, static_cast<uint16_t>(static_cast<int16_t>(100 * k + std::lround(8000 * std::sin(TwoPi * j / 256)))));
    WriteBytes(folder.File("short.wav"), WavFile(Fmt(1, 1, 16), Chunk("srge", SrgeBody(256)), data));
    ViewMode = ViewWavetable;
    FillTableWithIndices();
    CommandOn(CmdLoadWavetable, folder.File("short.wav"));
    for (int k = 0; k < 64; ++k) {
        for (int j = 0; j < 256; ++j)
            ASSERT_NEAR(FrameAt(k)[4 * j], S16At(data, 2 * (256 * k + j)) * 0.00002f, 1e-6f) << k << " " << j;
        for (int n = 1; n < SamplesPerFrame; n += 4) {
            const double expected = (100 * k + 8000 * std::sin(TwoPi * n / 1024)) * 0.00002;
            ASSERT_NEAR(FrameAt(k)[n], expected, 3e-5) << k << " " << n;
        }
    }
    EXPECT_TRUE(std::all_of(FrameAt(64), FrameAt(100), [](float s) { return s == 0.0f; }));
}

// An untagged 600-sample cycle is one whole cycle; cut short, it is loaded
// sample by sample with zeros after what it holds.
TEST(ForeignTables, SingleCyclesOfOtherLengthsBecomeOneFrame) {
    FreshEditor();
    ScratchFolder folder;
    std::vector<float> cycle(600);
    for (int j = 0; j < 600; ++j) cycle[j] = static_cast<float>(0.5 * std::sin(TwoPi * j / 600) + 0.1 * std::cos(TwoPi * 7 * j / 600));
    WriteBytes(folder.File("cycle.wav"), WavFile(Fmt(3, 1, 32), {}, FloatData(cycle)));
    WriteBytes(folder.File("cut.wav"), WavFile(Fmt(3, 1, 32), {}, FloatData(cycle), 4 * 2000));
    CurrentFrame = 2;
    CommandOn(CmdLoadWaveform, folder.File("cycle.wav"));
    for (int n = 0; n < SamplesPerFrame; ++n) {
        const double expected = (0.5 * std::sin(TwoPi * n / 1024) + 0.1 * std::cos(TwoPi * 7 * n / 1024)) * FloatScale;
        ASSERT_NEAR(FrameAt(2)[n], expected, 1e-6) << n;
    }
    CommandOn(CmdLoadWaveform, folder.File("cut.wav"));
    for (int n = 0; n < 600; ++n) ASSERT_EQ(FrameAt(2)[n], cycle[n] * 32768.0f * 0.00002f) << n;
    EXPECT_TRUE(std::all_of(FrameAt(2) + 600, FrameAt(3), [](float s) { return s == 0.0f; }));
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
}

// Files that cannot give samples: one "Error" box each, the table untouched.
TEST(ForeignTables, FilesWithoutUsableSamplesLeaveTheTableAlone) {
    SKIP_WITHOUT_SOX();
    FreshEditor();
    ScratchFolder folder;
    const std::string unsupported = "unsupported WAV encoding\n";
    const std::string none = "no samples in file\n";
    std::vector<std::pair<std::string, std::string>> cases;
    for (const char* encoding : {"a-law", "u-law", "ima-adpcm", "ms-adpcm"}) {
        const std::string path = folder.File(std::string(encoding) + ".wav");
        const std::string command = Sox() + " -n -r 44100 -e " + encoding + " " + path + " synth 0.05 sine 440";
        ASSERT_EQ(std::system(command.c_str()), 0);
        cases.push_back({path, unsupported});
    }
    std::vector<uint8_t> cutFormat = WavFile(Fmt(1, 1, 16), {}, {});
    cutFormat.resize(28);
    const std::pair<std::string, std::vector<uint8_t>> built[] = {
        {unsupported, WavFile(ExtensibleFmt(6, 8), {}, {1, 2, 3, 4})},  // A-law
        {none, Text(std::string("RIFF\x04\0\0\0WAVE", 12))},
        {none, cutFormat},
        {none, WavFile(Fmt(1, 0, 16), {}, {1, 2, 3, 4})},
        {none, WavFile(Fmt(1, 1, 16), {}, {})},
    };
    for (size_t i = 0; i < std::size(built); ++i) {
        const std::string path = folder.File("built" + std::to_string(i) + ".wav");
        WriteBytes(path, built[i].second);
        cases.push_back({path, built[i].first});
    }
    ViewMode = ViewWavetable;
    FillTableWithIndices();
    const std::vector<float> before(Wavetable, Wavetable + TableSamples);
    std::vector<std::string> expected;
    for (const auto& [path, text] : cases) {
        CommandOn(CmdLoadWavetable, path);
        expected.push_back(text + path);
    }
    ViewMode = ViewWaveform;
    CommandOn(CmdLoadWaveform, cases[0].first);
    expected.push_back(unsupported + cases[0].first);
    EXPECT_EQ(ErrorTexts(), expected);
    EXPECT_EQ(std::memcmp(before.data(), Wavetable, sizeof Wavetable), 0);
}

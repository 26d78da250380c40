// Tables other synthesizers read, and theirs read here: frame-size tags, export and imports.

#include "tests/file_helpers.h"
#include "tests/reference/double_dft.h"

namespace {

const double TwoPi = 6.283185307179586;
const float FloatScale = 0.65536f;  // a float sample x loads as x x 0.65536
const float RoundTrip = 0.9961472f; // exported x 1.52, loaded x 0.65536

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

} // namespace

// The export's bytes, its samples x 1.52 band-limited, and libsndfile's reading; loaded back.
TEST(Export2048, WritesBandLimitedFloatFramesThatLoadBack) {
    FreshEditor();
    ScratchFolder folder;
    for (int i = 0; i < TableSamples; ++i)
        Wavetable[i] =
            static_cast<float>(0.3 * std::sin(TwoPi * (i / 1024 % 9 + 1) * i / 1024 + i / 1024));
    for (int n = 0; n < SamplesPerFrame; ++n) FrameAt(7)[n] = n % 2 ? -0.25f : 0.3f;
    Command(CmdSaw);
    const std::vector<float> before(Wavetable, Wavetable + TableSamples);
    ViewMode = ViewWavetable;
    const std::string path = folder.File("export.wav");
    CommandOn(CmdExport2048, path);
    const std::vector<uint8_t> b = ReadBytes(path);
    ASSERT_EQ(b.size(), 819302u);
    const std::string head(
        "RIFF\x5e\x80\x0c\0WAVEfmt \x12\0\0\0\3\0\1\0\x44\xac\0\0\x10\xb1\x02\0\4\0\x20\0\0\0"
        "fact\4\0\0\0\0\x20\3\0"
        "clm \x24\0\0\0<!>2048 10000000 wavetable (QARNO)\0\0data\0\x80\x0c\0",
        102);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 102), head);
    std::vector<float> out(204800);
    std::memcpy(out.data(), b.data() + 102, 819200);
    for (int i = 0; i < TableSamples; ++i) ASSERT_NEAR(out[2 * i], before[i] * 1.52f, 2e-6f) << i;
    const DoubleSpectrum bins = DoubleDft(ToDouble(out.data(), 2048), 1025);
    EXPECT_GT(std::abs(bins[1]), 300.0);
    for (int k = 513; k <= 1024; ++k) ASSERT_LT(std::abs(bins[k]), 1e-3) << k;
    const SndfileView read = ReadWithSndfile(path);
    EXPECT_EQ(read.log.find("**"), std::string::npos) << read.log; // libsndfile's warnings
    EXPECT_EQ(read.samples, out);
    CommandOn(CmdLoadWavetable, path);
    for (int i = 0; i < TableSamples; ++i)
        ASSERT_NEAR(Wavetable[i], before[i] * RoundTrip, 2e-5f) << i;
    ViewMode = ViewWaveform;
    CurrentFrame = 4;
    CommandOn(CmdLoadWaveform, path);
    for (int n = 0; n < SamplesPerFrame; ++n)
        ASSERT_NEAR(FrameAt(4)[n], before[n] * RoundTrip, 2e-5f) << n;
}

// 256 x 2048 "clm " frames thin to round(i x 255 / 99); 64 x 256 "srge" ones clear the rest.
TEST(ForeignTables, DeclaredFramesLoadResampledThinnedOrCleared) {
    for (auto [frames, size] : {std::pair{256, 2048}, {64, 256}}) {
        FreshEditor();
        ScratchFolder folder;
        std::vector<float> samples(frames * size);
        std::vector<uint8_t> shorts;
        for (size_t i = 0; i < samples.size(); ++i) {
            samples[i] = static_cast<float>(0.001 * (i / size) +
                                            0.2 * std::sin(TwoPi * 3 * (i % size) / size));
            PutU16(shorts, static_cast<uint16_t>(std::lround(samples[i] * 32768.0f)));
        }
        const std::vector<uint8_t> file =
            frames > FrameCount
                ? WavFile(Fmt(3, 1, 32), Chunk("clm ", Bytes("<!>2048 10000000 wavetable (maker)")),
                          FloatData(samples))
                : WavFile(Fmt(1, 1, 16), Chunk("srge", {1, 0, 0, 0, 0, 1, 0, 0}), shorts);
        WriteBytes(folder.File("table.wav"), file);
        ViewMode = ViewWavetable;
        FillTableWithIndices();
        CommandOn(CmdLoadWavetable, folder.File("table.wav"));
        for (int i = 0; i < FrameCount; ++i) {
            const int source = frames > FrameCount ? (2 * i * (frames - 1) + 99) / 198 : i;
            const double there = i < frames ? FloatScale : 0.0;
            for (int n = 0; n < SamplesPerFrame; n += 37)
                ASSERT_NEAR(FrameAt(i)[n],
                            (0.001 * source + 0.2 * std::sin(TwoPi * 3 * n / 1024)) * there, 3e-5)
                    << size << ": " << i << " " << n;
        }
    }
}

// An untagged 600-sample cycle is resampled to a frame; cut short, it loads as it is, zero-padded.
TEST(ForeignTables, SingleCyclesOfOtherLengthsBecomeOneFrame) {
    FreshEditor();
    ScratchFolder folder;
    std::vector<float> cycle(600);
    for (int j = 0; j < 600; ++j) cycle[j] = static_cast<float>(0.5 * std::sin(TwoPi * j / 600));
    WriteBytes(folder.File("cycle.wav"), WavFile(Fmt(3, 1, 32), {}, FloatData(cycle)));
    CommandOn(CmdLoadWaveform, folder.File("cycle.wav"));
    for (int n = 0; n < SamplesPerFrame; ++n)
        ASSERT_NEAR(FrameAt(0)[n], 0.5 * std::sin(TwoPi * n / 1024) * FloatScale, 1e-6) << n;
    WriteBytes(folder.File("cycle.wav"), WavFile(Fmt(3, 1, 32), {}, FloatData(cycle), 4 * 2000));
    CommandOn(CmdLoadWaveform, folder.File("cycle.wav"));
    for (int n = 0; n < 600; ++n) ASSERT_EQ(FrameAt(0)[n], cycle[n] * 32768.0f * 0.00002f) << n;
    EXPECT_TRUE(AllZero(FrameAt(0) + 600, FrameAt(1)));
}

// Files without usable samples: one "Error" box each, with the system's reason; the table kept.
TEST(ForeignTables, FilesWithoutUsableSamplesLeaveTheTableAlone) {
    SKIP_WITHOUT_SOX();
    FreshEditor();
    ScratchFolder folder;
    std::vector<uint8_t> cutFormat = WavFile(Fmt(1, 1, 16), {}, {});
    cutFormat.resize(28);
    const std::pair<const char*, std::vector<uint8_t>> built[] = {
        {"unsupported WAV encoding", WavFile(ExtensibleFmt(6, 8), {}, {1, 2, 3, 4})},
        {"no samples in file", Bytes(std::string("RIFF\x04\0\0\0WAVE", 12))},
        {"no samples in file", cutFormat},
        {"no samples in file", WavFile(Fmt(1, 0, 16), {}, {1, 2, 3, 4})},
        {"no samples in file", WavFile(Fmt(1, 1, 16), {}, {})},
        {"not a WAV file", std::vector<uint8_t>(60, 'x')},
    };
    ViewMode = ViewWavetable;
    FillTableWithIndices();
    std::vector<std::string> expected;
    for (const char* encoding : {"a-law", "u-law", "ima-adpcm", "ms-adpcm"}) {
        const std::string path = folder.File(std::string(encoding) + ".wav");
        ASSERT_EQ(
            std::system((Sox() + " -n -e " + encoding + " " + path + " synth 0.05 sine").c_str()),
            0);
        CommandOn(CmdLoadWavetable, path);
        expected.push_back("unsupported WAV encoding\n" + path);
    }
    for (const auto& [text, bytes] : built) {
        const std::string path = folder.File(std::to_string(expected.size()) + ".wav");
        WriteBytes(path, bytes);
        CommandOn(CmdLoadWavetable, path);
        expected.push_back(text + ("\n" + path));
    }
    for (auto [path, reason] : {std::pair{folder.File("missing.wav"), "No such file or directory"},
                                {folder.path.string(), "Is a directory"}}) {
        CommandOn(CmdLoadWavetable, path);
        expected.push_back("can not open file\n" + path + "\n" + reason);
    }
    EXPECT_EQ(ErrorTexts(), expected);
    EXPECT_TRUE(TableHoldsIndicesOutside(0, -1));
}

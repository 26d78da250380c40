// Tables other synthesizers read, and theirs read here: frame-size tags, export and imports.

#include "app/table_exchange.h"
#include "platform/table_exchange_dialog.h"
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

namespace {

// Frame k holds harmonics 1..k+1, harmonic h at 0.3 / h with a phase turning with k and h.
double Harmonic(int k, int h, double n, int size) {
    return h <= k + 1 ? 0.3 / h * std::sin(TwoPi * h * n / size + 0.1 * k * h) : 0.0;
}
void HarmonicTable() {
    FreshEditor();
    for (int i = 0; i < TableSamples; ++i)
        for (int h = 1; h <= 100; ++h) Wavetable[i] += Harmonic(i / 1024, h, i % 1024, 1024);
    Command(CmdViewWavetable);
}
// Sample n of frame j of M, `length` long (default S), as Crossfade places it and the band
// limit of S keeps it.
double RuleSample(int j, int frames, int size, int n, int length = 0) {
    length = length ? length : size;
    const double p = j * 99.0 / (frames - 1), t = p - std::floor(p);
    const int k = static_cast<int>(p), top = std::min(size / 2 - 1, 511);
    double sum = 0.0;
    for (int h = 1; h <= top; ++h)
        sum +=
            (1 - t) * Harmonic(k, h, n, length) + (t > 0 ? t * Harmonic(k + 1, h, n, length) : 0);
    return sum;
}

struct Target {
    const char* word;
    size_t bytes;
    int frames, size, bits; // bits 32: float, 21: Blofeld
    const char* tag;        // "clm ", "srge", "" none, "vawt", "syx"
};
const Target Targets[] = {
    {"serum", 819302, 100, 2048, 32, "clm "},   {"surge", 409612, 100, 1024, 32, "vawt"},
    {"ableton", 409674, 100, 1024, 32, "srge"}, {"modwave", 524346, 64, 2048, 32, ""},
    {"waveedit", 32812, 64, 256, 16, ""},       {"wave128", 16428, 64, 128, 16, ""},
    {"blofeld", 26240, 64, 128, 21, "syx"},     {"custom", 393304, 32, 4096, 24, "clm "},
    {"custom", 1036, 16, 32, 16, "vawt"}};

// The file's samples as fractions of full scale, read by libsndfile or from the layouts'
// bytes; its layout checked on the way.
std::vector<double> ReadTarget(const std::string& path, const Target& t) {
    const std::vector<uint8_t> b = ReadBytes(path);
    EXPECT_EQ(b.size(), t.bytes) << t.word;
    std::vector<double> s;
    const double full = std::ldexp(1.0, t.bits - 1) - 1;
    if (t.tag == std::string("vawt")) {
        EXPECT_EQ(std::string(b.begin(), b.begin() + 4) + std::to_string(U32At(b, 4)) + " " +
                      std::to_string(GetU16(&b[8])) + " " + std::to_string(GetU16(&b[10])),
                  "vawt" + std::to_string(t.size) + " " + std::to_string(t.frames) +
                      (t.bits == 16 ? " 12" : " 0"));
        for (size_t at = 12; at + t.bits / 8 <= b.size(); at += t.bits / 8) {
            float f;
            std::memcpy(&f, &b[at], 4);
            s.push_back(t.bits == 16 ? S16At(b, at) / full : f);
        }
    } else if (t.bits == 21) {
        for (int w = 0; w < 64; ++w) {
            const uint8_t* m = &b[w * 410];
            int sum = 0;
            for (int i = 7; i < 408; ++i) sum += m[i];
            EXPECT_EQ(std::vector<uint8_t>(m, m + 8),
                      (std::vector<uint8_t>{0xF0, 0x3E, 0x13, 0, 0x12, 0x50, uint8_t(w), 0}));
            EXPECT_EQ(std::string(m + 392, m + 408), std::string("blofeld       \0\0", 16));
            EXPECT_EQ(m[408] * 256 + m[409], (sum & 0x7F) * 256 + 0xF7) << w;
            for (int i = 0; i < 128; ++i, m += 3) {
                const int v = m[8] << 14 | m[9] << 7 | m[10];
                s.push_back((v >= 1 << 20 ? v - (1 << 21) : v) / full);
            }
        }
    } else {
        const SndfileView read = ReadWithSndfile(path);
        const int formats[] = {SF_FORMAT_PCM_16, SF_FORMAT_PCM_24, SF_FORMAT_FLOAT};
        EXPECT_EQ(read.format.format, SF_FORMAT_WAV | formats[t.bits / 8 - 2]) << t.word;
        EXPECT_EQ(read.format.frames * 100 + read.format.channels, t.frames * t.size * 100 + 1);
        auto chunks = Chunks(b);
        const std::string clm(chunks["clm "].begin(), chunks["clm "].end());
        const std::vector<uint8_t> srge = chunks["srge"];
        EXPECT_EQ(clm.rfind("<!>" + std::to_string(t.size) + " ", 0) == 0, t.tag[0] == 'c');
        EXPECT_EQ(srge.size() == 8 && U32At(srge, 4) == uint32_t(t.size), t.tag[0] == 's');
        for (float f : read.samples)
            s.push_back(t.bits == 32 ? f : std::lround(f * (full + 1)) / full);
    }
    return s;
}

// Export For through its dialog as `target` of the list; the file's path.
std::string ExportAs(const ScratchFolder& folder, const Target& t, bool loudest) {
    const size_t index = std::find_if(ExportTargets, ExportTargets + ExportTargetCount,
                                      [&](auto& e) { return t.word == std::string(e.word); }) -
                         ExportTargets;
    HeadlessExportAnswers.push_back([=](ExportDialog& d) {
        d.target = static_cast<int>(index);
        d.loudest = loudest;
        d.frames = std::to_string(t.frames), d.samples = std::to_string(t.size);
        d.bits = t.bits / 8 - 2, d.tag = t.tag[0] == 'c' ? 0 : 2, d.wt = t.tag[0] == 'v';
    });
    const std::string ext = t.bits == 21 ? ".syx" : t.tag[0] == 'v' ? ".wt" : ".wav";
    const std::string path = folder.File(std::string(t.word) + ext);
    CommandOn(CmdExportFor, path);
    EXPECT_EQ("." + HeadlessDialogsShown.back().extension, ext);
    return path;
}

} // namespace

// Each target's file in its layout to the byte, its frames by the rule at -0.1 dBFS; the
// Spectral frames equal the Crossfade ones at whole positions only.
TEST(ExportFor, EachTargetWritesTheRuleFramesInItsLayout) {
    HarmonicTable();
    ScratchFolder folder;
    for (const Target& t : Targets) {
        const std::vector<double> got = ReadTarget(ExportAs(folder, t, true), t);
        std::vector<double> want;
        for (int j = 0; j < t.frames; ++j)
            for (int n = 0; n < t.size; ++n) want.push_back(RuleSample(j, t.frames, t.size, n));
        double peak = 0;
        for (double v : want) peak = std::max(peak, std::fabs(v));
        const double step = t.bits == 32 ? 0 : 0.5 / (std::ldexp(1.0, t.bits - 1) - 1);
        ASSERT_EQ(got.size(), want.size()) << t.word;
        for (size_t i = 0; i < got.size(); ++i)
            ASSERT_NEAR(got[i], want[i] * 0.98855309 / peak, step + 1e-5) << t.word << " " << i;
    }
    std::vector<float> as[2]; // modwave's frames as they are, by Crossfade and by Spectral
    for (bool spectral : {false, true}) {
        HeadlessExportAnswers.push_back(
            [=](ExportDialog& d) { d.target = 3, d.spectral = spectral, d.loudest = false; });
        CommandOn(CmdExportFor, folder.File("between.wav"));
        as[spectral] = ReadWithSndfile(folder.File("between.wav")).samples;
    }
    const std::vector<float>&a = as[0], &b = as[1];
    for (int j : {0, 1, 7, 30, 63}) { // whole positions: j x 99 / 63 for j = 0, 7, 63
        double most = 0;
        for (int n = j * 2048; n < j * 2048 + 2048; ++n)
            most = std::max<double>(most, std::fabs(a[n] - b[n]));
        EXPECT_EQ(most > 1e-3, j % 7 != 0) << j << " " << most;
    }
}

// Each target exported as it is and imported: the 100-frame ones fit back within 1e-6, the
// others keep their frames at the rule's positions, band-limited to what they held; Undo.
TEST(ImportWavetable, EachTargetComesBack) {
    HarmonicTable();
    const TableCopy table = CopyOfTable();
    ScratchFolder folder;
    for (const Target& t : Targets) {
        std::copy(table.begin(), table.end(), Wavetable);
        const std::string path = ExportAs(folder, t, false);
        HeadlessImportTableAnswers.push_back([&](ImportTableDialog& d) {
            d.keepCount = t.frames != 100;
            if (d.askFrameSize) d.frameSize = std::to_string(t.size);
        });
        FillFrame(0, 5.0f);
        CommandOn(CmdImportWavetable, path);
        const double within = t.frames == 100 ? 1e-6 : t.bits == 16 ? 3e-5 : 1e-5;
        for (int i = 0; i < TableSamples; ++i) {
            const int j = i / 1024;
            const double want = t.frames == 100 ? table[i]
                                : j < t.frames  ? RuleSample(j, t.frames, t.size, i % 1024, 1024)
                                                : 0;
            ASSERT_NEAR(Wavetable[i], want, within) << t.word << " " << i;
        }
        EXPECT_EQ(HeadlessImportTableDialogs.back().frameSize, t.tag[0] ? "" : "2048");
    }
    EXPECT_EQ(HeadlessImportTableDialogs[1].layout,
              "Surge XT .wt, 32-bit float: 100 frames of 1024 samples");
    Command(CmdUndo);
    EXPECT_EQ(FrameAt(0)[0], 5.0f);
}

namespace {

std::vector<uint8_t> WtFile(uint32_t size, uint16_t frames, uint16_t flags, size_t dataBytes) {
    std::vector<uint8_t> b = Bytes("vawt");
    PutU32(b, size), PutU16(b, frames), PutU16(b, flags);
    b.resize(b.size() + dataBytes);
    return b;
}
std::vector<uint8_t> Dump(size_t at, uint8_t value, size_t cut = 0) {
    std::vector<uint8_t> b = BuildBlofeldDump(std::vector<float>(8192).data(), 80, "x");
    b[at] = static_cast<uint8_t>(value);
    b.resize(b.size() - cut);
    return b;
}

} // namespace

// Every broken file is refused in an "Error" box naming it and what is wrong, the table kept.
TEST(ImportWavetable, BrokenFilesChangeNothing) {
    HarmonicTable();
    const TableCopy before = CopyOfTable();
    ScratchFolder folder;
    const std::vector<uint8_t> srge1000 = Chunk("srge", {1, 0, 0, 0, 0xE8, 3, 0, 0});
    const std::pair<std::vector<uint8_t>, std::string> cases[] = {
        {WtFile(1000, 4, 0, 16000), "frame size 1000 is not a power of two from 2 to 4096"},
        {WtFile(8192, 4, 0, 131072), "frame size 8192 is not a power of two from 2 to 4096"},
        {WtFile(256, 0, 0, 0), "frame count 0 is not from 1 to 512"},
        {WtFile(2, 513, 0, 4104), "frame count 513 is not from 1 to 512"},
        {WtFile(256, 2, 4, 1023), "the samples are cut short: 1035 bytes of 1036"},
        {Dump(0, 0xF0, 1), "not 64 Blofeld wavetable messages of 410 bytes (26239 bytes)"},
        {Dump(410 * 5 + 408, 0x7F), "message 6 has a wrong checksum"},
        {Dump(410 * 63 + 2, 0x15), "message 64 is not a Blofeld wavetable dump"},
        {WavFile(Fmt(3, 1, 32), srge1000, FloatData(std::vector<float>(2048))),
         "frame size 1000 does not divide the 2048 samples"},
        {Bytes("RIFX"), "not a wavetable (.wt, WAV or Blofeld .syx)"}};
    for (const auto& [bytes, message] : cases) {
        const std::string path = folder.File("broken");
        WriteBytes(path, bytes);
        CommandOn(CmdImportWavetable, path);
        EXPECT_EQ(ErrorTexts().back(), message + "\n" + path) << message;
        EXPECT_TRUE(TableKept(before)) << message;
    }
    // An untagged WAV whose frame size is typed wrong is refused in the dialog.
    WriteBytes(folder.File("plain.wav"), WavFile(Fmt(1, 1, 16), {}, std::vector<uint8_t>(600)));
    HeadlessImportTableAnswers = {[](ImportTableDialog& d) { d.frameSize = "128"; }, nullptr};
    CommandOn(CmdImportWavetable, folder.File("plain.wav"));
    EXPECT_EQ(HeadlessTableDialogRefusals.back(), "frame size 128 does not divide the 300 samples");
    EXPECT_TRUE(TableKept(before));
    WriteBytes(folder.File("hive.wav"),
               WavFile(Fmt(3, 1, 32), Chunk("uhWT", {}), FloatData(std::vector<float>(4096))));
    HeadlessImportTableAnswers = {[](ImportTableDialog&) {}};
    CommandOn(CmdImportWavetable, folder.File("hive.wav"));
    EXPECT_EQ(HeadlessImportTableDialogs.back().layout,
              "WAV, tagged \"uhWT\", 32-bit float: 2 frames of 2048 samples");
    for (auto [count, proposed] :
         {std::pair{16384, 2048}, {3 * 128, 128}, {257 * 2048, 0}, {300, 0}})
        EXPECT_EQ(ProposedFrameSize(count), proposed) << count;
}

// The level off writes the values, the integer formats round to nearest and clamp.
TEST(ExportFor, IntegersRoundAndClamp) {
    const float nan = std::nanf("");
    for (auto [value, full, want] : {std::tuple{0.5f / 32767, 32767, 1},
                                     {-1.5f / 32767, 32767, -2},
                                     {2.0f, 32767, 32767},
                                     {-2.0f, 32767, -32768},
                                     {-1.0f, 8388607, -8388607},
                                     {3.0f, 1048575, 1048575},
                                     {nan, 32767, 0}})
        EXPECT_EQ(FullScaleInteger(value, full), want) << value;
    FreshEditor();
    Command(CmdViewWavetable);
    for (int n = 0; n < 1024; ++n)
        FrameAt(0)[n] = static_cast<float>(1.5 * std::sin(TwoPi * n / 1024));
    ScratchFolder folder;
    const std::vector<double> got = ReadTarget(ExportAs(folder, Targets[4], false), Targets[4]);
    EXPECT_EQ(std::vector<double>({got[8], got[64], got[192]}),
              std::vector<double>({std::lround(1.5 * 32767 * std::sin(TwoPi * 8 / 256)) / 32767.0,
                                   1.0, -32768 / 32767.0}));
}

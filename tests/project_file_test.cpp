// Save Project, Open Project and Load Wavedata.

#include <regex>

#include "core/panel.h"
#include "platform/common/surface.h"
#include "tests/file_helpers.h"

namespace {

// Where the chunks of a project file begin.
constexpr size_t FmtAt = 12, DataAt = 66, QarnAt = 409674, QpadAt = 409842, QaddAt = 934138,
                 QfrmAt = 938242;

// The bytes of objects (whole arrays among them), one after another.
void Append(std::vector<uint8_t>&) {}
template <typename Part, typename... Rest>
void Append(std::vector<uint8_t>& bytes, const Part& part, const Rest&... rest) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&part);
    bytes.insert(bytes.end(), p, p + sizeof part);
    Append(bytes, rest...);
}
template <typename... Parts> std::vector<uint8_t> Bytes(const Parts&... parts) {
    std::vector<uint8_t> bytes;
    Append(bytes, parts...);
    return bytes;
}

std::vector<uint8_t> DocumentBytes() {
    return Bytes(Wavetable, PadwaveBuffer, AdditiveFrame, Harmonics, CurrentFrame, OffsetFrame,
                 PadwaveValue, PadwaveTimes10, Polarity, ViewMode, Knobs[0].value, Knobs[1].value,
                 Knobs[2].value);
}

// Not part of the document: the clipboards and the Additive view's saved levels.
std::vector<uint8_t> KeptBytes() {
    return Bytes(FrameClipboard, TableClipboard, TableClipboardLength, HarmonicSnapshot);
}

// Unlike New's document in every part: knobs at Wave 30, Offset 12, Padwave 57 with
// PadwaveValue 23 apart from its knob, x10, negative polarity, extreme levels, an additive frame
// those levels do not give; +-10, -0, the smallest subnormal, a NaN with a payload, a
// signalling NaN and +-infinity where the displays draw them and at the table's end.
void MakeDocument() {
    FreshWindow();
    Drag(57, 90, 57, 60);
    Drag(57, 218, 57, 206);
    Drag(57, 345, 57, 288);
    PadwaveValue = 23;
    PadwaveTimes10 = 1;
    Polarity = 0;
    CurrentFormula = {FormulaMode::Harmonics, "x", "in*(q<9)", "pi/2"};
    const Levels levels = LevelSets()[3];
    std::copy(levels.begin(), levels.end(), Harmonics);
    for (int i = 0; i < PadwaveSamples; ++i) {
        PadwaveBuffer[i] = 0.2f * std::cos(0.0007f * static_cast<float>(i));
        Wavetable[i % TableSamples] = 0.3f * std::sin(0.01f * static_cast<float>(i % 1024 * i));
        AdditiveFrame[i % SamplesPerFrame] = i % 64 < 32 ? 0.25f : -0.1f;
    }
    const uint32_t specials[] = {0x41200000, 0xC1200000, 0x80000000, 1,
                                 0x7FC12345, 0x7F800001, 0x7F800000, 0xFF800000};
    for (int k = 0; k < 8; ++k)
        for (float* at :
             {FrameAt(30) + 4 * k, Wavetable + TableSamples - 1 - k, PadwaveBuffer + 256 * k})
            std::memcpy(at, &specials[k], 4);
}

const std::vector<uint8_t>& Raster() { return ClientSurface(HeadlessWindow()).pixels; }

// Writes each file and runs the command on it; the texts of the message boxes it should show.
using Files = std::vector<std::vector<uint8_t>>;
std::vector<std::string> RunOnEach(CommandId command, const ScratchFolder& folder,
                                   const std::string& message, const Files& files) {
    std::vector<std::string> expected;
    for (const std::vector<uint8_t>& bytes : files) {
        const std::string path = folder.File(message + std::to_string(expected.size()));
        WriteBytes(path, bytes);
        CommandOn(command, path);
        expected.push_back(message + "\n" + path);
    }
    return expected;
}

} // namespace

// Save Project in each view, New, a look at the Additive view (which recomputes its frame),
// Open Project: the document comes back bit for bit, with the same pixels and menus; the
// clipboards and saved levels stay as they were, and Undo brings back the table before the open.
TEST(ProjectFile, OpenBringsBackTheDocumentAndTheWindowAsSaved) {
    ScratchFolder folder;
    for (CommandId view : {CmdViewWaveform, CmdViewWavetable, CmdViewAdditive, CmdViewPadwave}) {
        MakeDocument();
        Command(view);
        Send(WM_PAINT);
        const std::vector<uint8_t> pixels = Raster(), document = DocumentBytes();
        const std::string menus = MenuLayout();
        CommandOn(CmdSaveProject, folder.File("p.wav"));
        Command(CmdNew);
        Command(CmdViewAdditive);
        FillFrame(3, 0.25f);
        FrameClipboard[5] = TableClipboard[7] = 0.5f;
        const std::vector<float> before(Wavetable, Wavetable + TableSamples);
        const std::vector<uint8_t> kept = KeptBytes();
        CommandOn(CmdOpenProject, folder.File("p.wav"));
        Send(WM_PAINT);
        EXPECT_TRUE(DocumentBytes() == document && KeptBytes() == kept) << view;
        EXPECT_EQ(CurrentFormula.amplitude + CurrentFormula.phase + CurrentFormula.wave,
                  "in*(q<9)pi/2x");
        EXPECT_TRUE(CurrentFormula.mode == FormulaMode::Harmonics);
        EXPECT_TRUE(Raster() == pixels) << view;
        EXPECT_EQ(MenuLayout(), menus);
        Command(CmdViewWaveform);
        Command(CmdUndo);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), Wavetable)) << view;
    }
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
}

// The bytes where the README puts them, read by sox and libsndfile as 102400 float samples at
// 44100 Hz without a complaint (libsndfile only notes our own chunks), with frames of 1024 by
// Surge XT's rule.
TEST(ProjectFile, IsAFloatWavetableThatOtherReadersRead) {
    SKIP_WITHOUT_SOX();
    ScratchFolder folder;
    const std::string path = folder.File("p.wav");
    MakeDocument();
    CurrentFormula = Formula();
    for (int i = 0; i < 8; ++i) Wavetable[TableSamples - 1 - i] = FrameAt(30)[4 * i] = 0.0f;
    CommandOn(CmdSaveProject, path);
    const std::vector<uint8_t> b = ReadBytes(path);
    ASSERT_EQ(b.size(), 938286u);
    EXPECT_EQ(
        std::string(b.begin(), b.begin() + DataAt + 8),
        std::string("RIFF\x26\x51\x0e\0WAVEfmt \x12\0\0\0\x03\0\x01\0\x44\xac\0\0\x10\xb1\x02\0"
                    "\x04\0\x20\0\0\0fact\x04\0\0\0\0\x90\x01\0srge\x08\0\0\0\x01\0\0\0\0\x04\0\0"
                    "data\0\x40\x06\0",
                    DataAt + 8));
    const std::string choices("qarn\xa0\0\0\0\x01\0\0\0\x1e\0\0\0\x0c\0\0\0\x39\0\0\0\x17\0\0\0"
                              "\x01\0\0\0\0\0\0\0\xa0\x0f\0\0",
                              40);
    auto slice = [&](size_t from, size_t to) {
        return std::string(b.begin() + from, b.begin() + to);
    };
    EXPECT_EQ(slice(QarnAt, QarnAt + 40), choices);
    EXPECT_EQ(slice(QpadAt, QpadAt + 8) + slice(QaddAt, QaddAt + 8),
              std::string("qpad\0\0\x08\0qadd\0\x10\0\0", 16));
    const std::vector<uint8_t> bodies = Bytes(Harmonics, PadwaveBuffer, AdditiveFrame);
    EXPECT_TRUE(slice(QarnAt + 40, QpadAt) + slice(QpadAt + 8, QaddAt) +
                    slice(QaddAt + 8, QfrmAt) ==
                std::string(bodies.begin(), bodies.end()));
    EXPECT_EQ(slice(QfrmAt, b.size()), std::string("qfrm\x23\0\0\0\x01\0\0\0\0\0\0\0\x0b\0\0\0"
                                                   "sin(2*pi*w)\x03\0\0\0001/q\x01\0\0\0000\0",
                                                   44));
    EXPECT_EQ(SoxInfo(path, "rcbse"), "44100\n1\n32\n102400\nFloating Point PCM\n");
    EXPECT_EQ(std::system((Sox() + " " + path + " -n 2> " + path + ".err").c_str()), 0);
    EXPECT_TRUE(ReadBytes(path + ".err").empty());
    EXPECT_EQ(SurgeFrameSize(b), 1024);
    const SndfileView read = ReadWithSndfile(path);
    EXPECT_EQ(read.format.frames, TableSamples);
    EXPECT_EQ(read.format.samplerate, 44100);
    EXPECT_EQ(read.format.channels, 1);
    EXPECT_EQ(read.format.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_TRUE(std::equal(read.samples.begin(), read.samples.end(), Wavetable));
    const std::regex ours(R"(\*\*\* (srge|qarn|qpad|qadd|qfrm) : [0-9]+ \(unknown marker\))");
    EXPECT_EQ(std::regex_replace(read.log, ours, "").find("***"), std::string::npos) << read.log;
}

// Files that are no project, damaged or cut off give their message, and after all of them
// the document, the clipboards and the undo snapshot are byte for byte as they were.
TEST(ProjectFile, BadFilesChangeNothing) {
    ScratchFolder folder;
    MakeDocument();
    CommandOn(CmdSaveProject, folder.File("good"));
    const std::vector<uint8_t> good = ReadBytes(folder.File("good"));
    auto replaced = [&](size_t at, const std::vector<uint8_t>& chunk) { // the RIFF size follows
        std::vector<uint8_t> file = good;
        file.erase(file.begin() + at, file.begin() + at + 8 + U32At(good, at + 4));
        file.insert(file.begin() + at, chunk.begin(), chunk.end());
        const uint32_t riff = static_cast<uint32_t>(file.size() - 8);
        std::memcpy(file.data() + 4, &riff, 4);
        return file;
    };
    auto resized = [&](size_t at, int delta) { // zeros added or bytes taken off its end
        std::vector<uint8_t> body(good.begin() + at + 8,
                                  good.begin() + at + 8 + U32At(good, at + 4));
        body.resize(body.size() + delta);
        return replaced(at,
                        Chunk(std::string(good.begin() + at, good.begin() + at + 4).c_str(), body));
    };
    auto patched = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> file = good;
        std::memcpy(file.data() + at, &value, 4);
        return file;
    };
    auto cut = [&](size_t size) { return std::vector<uint8_t>(good.begin(), good.begin() + size); };
    Command(CmdNew);
    FillFrame(2, 0.5f);
    UndoSnapshot[9] = 3.0f;
    const std::vector<uint8_t> state = DocumentBytes(), kept = KeptBytes(),
                               undo = Bytes(UndoSnapshot);
    const std::vector<uint8_t> none;
    const Files notProject = {replaced(QarnAt, none), WavFile(Fmt(3, 1, 32), {}, FloatData({0.5f})),
                              none};
    Files damaged = {patched(FmtAt + 8, 1 | 1 << 16),
                     patched(FmtAt + 8, 3 | 2 << 16),
                     patched(FmtAt + 20, 2 | 16 << 16),
                     patched(QarnAt + 36, ViewPadwave + 1),
                     patched(QfrmAt + 8, 2),
                     patched(QfrmAt + 12, 2),
                     patched(QfrmAt + 16, 4097)};
    for (size_t at : {FmtAt, DataAt, QarnAt, QpadAt, QaddAt, QfrmAt}) {
        if (at != QarnAt && at != QfrmAt) damaged.push_back(replaced(at, none));
        for (int delta : {-4, -1, 1, 4}) damaged.push_back(resized(at, delta));
    }
    for (size_t field = 8; field < 40; field += 4) // the version and every choice
        for (uint32_t value : {100u, ~0u}) damaged.push_back(patched(QarnAt + field, value));
    for (size_t size : {size_t{30}, DataAt + 1000, QarnAt, QarnAt + 88, good.size() - 1})
        damaged.push_back(cut(size));
    std::vector<std::string> expected =
        RunOnEach(CmdOpenProject, folder, "not a project file", notProject);
    for (const std::string& text :
         RunOnEach(CmdOpenProject, folder, "damaged project file", damaged))
        expected.push_back(text);
    EXPECT_EQ(ErrorTexts(), expected);
    EXPECT_TRUE(DocumentBytes() == state && KeptBytes() == kept);
    EXPECT_TRUE(Bytes(UndoSnapshot) == undo);
    std::vector<uint8_t> old = cut(QfrmAt); // saved before formulas
    const uint32_t riff = static_cast<uint32_t>(QfrmAt - 8);
    std::memcpy(old.data() + 4, &riff, 4);
    WriteBytes(folder.File("old.wav"), old);
    CurrentFormula.wave = "1";
    CommandOn(CmdOpenProject, folder.File("old.wav"));
    EXPECT_EQ(CurrentFormula.wave + CurrentFormula.amplitude + CurrentFormula.phase,
              "sin(2*pi*w)1/q0");
}

// Save Wavedata writes the table as little-endian floats, which Load Wavedata reads back bit for
// bit after the undo snapshot; a file a byte short or long or empty is refused and changes
// nothing, the snapshot included.
TEST(Wavedata, LoadsBackBitForBitOrNotAtAll) {
    ScratchFolder folder;
    MakeDocument();
    Command(CmdViewWavetable);
    CommandOn(CmdSaveWavedata, folder.File("table.txt"));
    const std::vector<uint8_t> saved = Bytes(Wavetable);
    const std::vector<uint8_t> file = ReadBytes(folder.File("table.txt"));
    EXPECT_TRUE(file == saved);
    EXPECT_EQ(U32At(file, 4 * TableSamples - 8), 0xC1200000u); // MakeDocument's -10
    FillTableWithIndices();
    CommandOn(CmdLoadWavedata, folder.File("table.txt"));
    EXPECT_TRUE(Bytes(Wavetable) == saved);
    Command(CmdUndo);
    EXPECT_TRUE(TableHoldsIndicesOutside(0, -1));
    std::vector<uint8_t> longer = file;
    longer.push_back(0);
    const Files files = {{longer.begin(), longer.end() - 2}, longer, {}};
    const std::vector<uint8_t> state = Bytes(Wavetable, UndoSnapshot);
    const std::vector<std::string> expected =
        RunOnEach(CmdLoadWavedata, folder, "not a wave data file", files);
    EXPECT_EQ(ErrorTexts(), expected);
    EXPECT_TRUE(Bytes(Wavetable, UndoSnapshot) == state);
}

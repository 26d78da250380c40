// Save Project, Open Project and Load Wavedata.

#include "core/panel.h"
#include "platform/common/surface.h"
#include "tests/file_helpers.h"

namespace {

// Where the chunks of a project file begin.
constexpr size_t FmtAt = 12, DataAt = 66, QarnAt = 409674, QpadAt = 409842, QaddAt = 934138,
                 QfrmAt = 938242, QluaAt = 938284;

// The bytes of objects (whole arrays among them), one after another.
template <typename... Parts> std::vector<uint8_t> Bytes(const Parts&... parts) {
    std::vector<uint8_t> bytes;
    (bytes.insert(bytes.end(), reinterpret_cast<const uint8_t*>(&parts),
                  reinterpret_cast<const uint8_t*>(&parts) + sizeof parts),
     ...);
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

// Unlike New's in every part (PadwaveValue apart from its knob, an additive frame the levels do
// not give), with +-10, -0, a subnormal, NaNs and infinities where the displays draw them.
void MakeDocument() {
    FreshWindow();
    for (auto [from, to] : {std::pair{90, 60}, {218, 206}, {345, 288}}) Drag(57, from, 57, to);
    PadwaveValue = 23;
    PadwaveTimes10 = 1;
    Polarity = 0;
    CurrentFormula = {FormulaMode::Harmonics, "x", "in*(q<9)", "pi/2"};
    CurrentScript = {"x", 7, 64};
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

// Every byte where the README puts them: a float WAV of the table with frames of 1024 by Surge
// XT's rule, then the choices and levels, the pad and the additive frame.
void ExpectProjectBytes(const std::vector<uint8_t>& b) {
    ASSERT_EQ(b.size(), 938310u);
    const std::string head(
        "RIFF\x3e\x51\x0e\0WAVEfmt \x12\0\0\0\x03\0\x01\0\x44\xac\0\0\x10\xb1\x02\0\x04\0\x20\0\0\0"
        "fact\x04\0\0\0\0\x90\x01\0srge\x08\0\0\0\x01\0\0\0\0\x04\0\0data\0\x40\x06\0",
        DataAt + 8);
    const std::string choices("qarn\xa0\0\0\0\x01\0\0\0\x1e\0\0\0\x0c\0\0\0\x39\0\0\0\x17\0\0\0"
                              "\x01\0\0\0\0\0\0\0\xa0\x0f\0\0",
                              40);
    auto slice = [&](size_t from, size_t to) {
        return std::string(b.begin() + from, b.begin() + to);
    };
    EXPECT_EQ(slice(0, DataAt + 8) + slice(QarnAt, QarnAt + 40), head + choices);
    EXPECT_EQ(slice(QpadAt, QpadAt + 8) + slice(QaddAt, QaddAt + 8),
              std::string("qpad\0\0\x08\0qadd\0\x10\0\0", 16));
    const std::vector<uint8_t> bodies = Bytes(Wavetable, Harmonics, PadwaveBuffer, AdditiveFrame);
    EXPECT_TRUE(slice(DataAt + 8, QarnAt) + slice(QarnAt + 40, QpadAt) + slice(QpadAt + 8, QaddAt) +
                    slice(QaddAt + 8, QfrmAt) ==
                std::string(bodies.begin(), bodies.end()));
    EXPECT_EQ(
        slice(QfrmAt, b.size()),
        std::string("qfrm\x21\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\0\0x\x08\0\0\0in*(q<9)"
                    "\x04\0\0\0pi/2\0qlua\x11\0\0\0\x01\0\0\0\x07\0\0\0\x40\0\0\0\x01\0\0\0x\0",
                    68));
    EXPECT_EQ(SurgeFrameSize(b), 1024);
}

// Writes each file and runs the command on it; adds the message box each should show.
using Files = std::vector<std::vector<uint8_t>>;
void RunOnEach(CommandId command, const ScratchFolder& folder, const std::string& message,
               const Files& files, std::vector<std::string>& expected) {
    for (const std::vector<uint8_t>& bytes : files) {
        const std::string path = folder.File(std::to_string(expected.size()));
        WriteBytes(path, bytes);
        CommandOn(command, path);
        expected.push_back(message + "\n" + path);
    }
}

} // namespace

// Save in each view, New, a look at the Additive view (which recomputes its frame), Open: the
// document and window come back bit for bit, clipboards and saved levels stay, Undo works.
TEST(ProjectFile, OpenBringsBackTheDocumentAndTheWindowAsSaved) {
    ScratchFolder folder;
    for (CommandId view : {CmdViewWaveform, CmdViewWavetable, CmdViewAdditive, CmdViewPadwave}) {
        MakeDocument();
        Command(view);
        Send(WM_PAINT);
        const std::vector<uint8_t> pixels = Raster(), document = DocumentBytes();
        const std::string menus = MenuLayout();
        CommandOn(CmdSaveProject, folder.File("p.wav"));
        if (view == CmdViewWaveform) ExpectProjectBytes(ReadBytes(folder.File("p.wav")));
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
        EXPECT_EQ(CurrentScript.lua +
                      std::to_string(CurrentScript.frames * 1000 + CurrentScript.samples),
                  "x7064");
        EXPECT_TRUE(Raster() == pixels) << view;
        EXPECT_EQ(MenuLayout(), menus);
        Command(CmdViewWaveform);
        Command(CmdUndo);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), Wavetable)) << view;
    }
    EXPECT_TRUE(HeadlessMessageBoxes.empty());
}

// Files that are no project, damaged or cut off, and wave data a byte short or long or empty,
// give their message; the document, the clipboards and the undo snapshot stay byte for byte.
TEST(ProjectFile, BadFilesChangeNothing) {
    ScratchFolder folder;
    MakeDocument();
    CommandOn(CmdSaveProject, folder.File("good"));
    const std::vector<uint8_t> good = ReadBytes(folder.File("good"));
    const int Gone = 1 << 30;
    auto resized = [&](size_t at, int delta) { // the chunk's body cut, grown by zeros, or Gone
        const size_t end = at + 8 + U32At(good, at + 4);
        std::vector<uint8_t> file(good.begin(), good.begin() + at), body;
        if (delta != Gone) {
            body.assign(good.begin() + at + 8, good.begin() + end);
            body.resize(body.size() + delta);
            body = Chunk(std::string(good.begin() + at, good.begin() + at + 4).c_str(), body);
        }
        file.insert(file.end(), body.begin(), body.end());
        file.insert(file.end(), good.begin() + end, good.end());
        const uint32_t riff = static_cast<uint32_t>(file.size() - 8); // follows the change
        std::memcpy(file.data() + 4, &riff, 4);
        return file;
    };
    auto patched = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> file = good;
        std::memcpy(file.data() + at, &value, 4);
        return file;
    };
    auto cut = [&](size_t size) { return std::vector<uint8_t>(good.begin(), good.begin() + size); };
    Command(CmdNew);
    Command(CmdViewWavetable); // where Load Wavedata works
    FillFrame(2, 0.5f);
    UndoSnapshot[9] = 3.0f;
    const std::vector<uint8_t> state = DocumentBytes(), kept = KeptBytes(),
                               undo = Bytes(UndoSnapshot);
    const Files notProject = {
        resized(QarnAt, Gone), WavFile(Fmt(3, 1, 32), {}, FloatData({0.5f})), {}};
    Files damaged = {patched(FmtAt + 8, 1 | 1 << 16),
                     patched(FmtAt + 8, 3 | 2 << 16),
                     patched(FmtAt + 20, 2 | 16 << 16),
                     patched(QarnAt + 36, ViewPadwave + 1),
                     patched(QfrmAt + 8, 2),
                     patched(QfrmAt + 12, 2),
                     patched(QfrmAt + 16, 4097),
                     patched(QluaAt + 8, 2),
                     patched(QluaAt + 12, 513),
                     patched(QluaAt + 16, 4097)};
    for (size_t at : {FmtAt, DataAt, QarnAt, QpadAt, QaddAt, QfrmAt, QluaAt})
        for (int delta : {-4, -1, 1, 4, Gone})
            if ((at != QarnAt && at < QfrmAt) || delta != Gone)
                damaged.push_back(resized(at, delta));
    for (size_t field = 8; field < 40; field += 4) // the version and every choice
        for (uint32_t value : {100u, ~0u}) damaged.push_back(patched(QarnAt + field, value));
    for (size_t size : {size_t{30}, DataAt + 1000, QarnAt, QarnAt + 88, good.size() - 1})
        damaged.push_back(cut(size));
    std::vector<std::string> expected;
    RunOnEach(CmdOpenProject, folder, "not a project file", notProject, expected);
    RunOnEach(CmdOpenProject, folder, "damaged project file", damaged, expected);
    const Files notWavedata = {cut(4 * TableSamples - 1), cut(4 * TableSamples + 1), {}};
    RunOnEach(CmdLoadWavedata, folder, "not a wave data file", notWavedata, expected);
    EXPECT_EQ(ErrorTexts(), expected);
    EXPECT_TRUE(DocumentBytes() == state && KeptBytes() == kept && Bytes(UndoSnapshot) == undo);
    std::vector<uint8_t> old = cut(QfrmAt); // saved before formulas
    const uint32_t riff = static_cast<uint32_t>(QfrmAt - 8);
    std::memcpy(old.data() + 4, &riff, 4);
    WriteBytes(folder.File("old.wav"), old);
    CurrentFormula.wave = CurrentScript.lua = "1";
    CommandOn(CmdOpenProject, folder.File("old.wav"));
    EXPECT_EQ(CurrentFormula.wave + CurrentFormula.amplitude + CurrentFormula.phase,
              "sin(2*pi*w)1/q0");
    EXPECT_EQ(CurrentScript.lua, DefaultScriptText);
}

// The table as little-endian floats, read back bit for bit after the undo snapshot.
TEST(Wavedata, LoadsBackBitForBitOrNotAtAll) {
    ScratchFolder folder;
    MakeDocument();
    Command(CmdViewWavetable);
    CommandOn(CmdSaveWavedata, folder.File("table.txt"));
    const std::vector<uint8_t> saved = Bytes(Wavetable);
    EXPECT_TRUE(ReadBytes(folder.File("table.txt")) == saved);
    FillTableWithIndices();
    CommandOn(CmdLoadWavedata, folder.File("table.txt"));
    EXPECT_TRUE(Bytes(Wavetable) == saved);
    Command(CmdUndo);
    EXPECT_TRUE(TableHoldsIndicesOutside(0, -1));
}

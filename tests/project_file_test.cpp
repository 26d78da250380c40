// Save Project and Open Project: the document back bit for bit and the window as it was, a
// file that other readers take for a float wavetable, damaged files that change nothing; and
// Load Wavedata.

#ifdef QARNO_HAVE_SNDFILE
#include <sndfile.h>
#endif

#include <limits>
#include <sstream>

#include "core/panel.h"
#include "platform/common/surface.h"
#include "tests/file_helpers.h"

namespace {

float FromBits(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

// What float arithmetic or a 16-bit file would change: beyond full scale, -0, the smallest
// subnormal, a quiet NaN with a payload, a signalling NaN and both infinities.
const float Specials[] = {10.0f,
                          -10.0f,
                          -0.0f,
                          std::numeric_limits<float>::denorm_min(),
                          FromBits(0x7FC12345),
                          FromBits(0x7F800001),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity()};

void Append(std::vector<uint8_t>& bytes, const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + size);
}

// The document a project holds, as bytes: table, pad, additive frame, levels and choices.
std::vector<uint8_t> DocumentBytes() {
    std::vector<uint8_t> bytes;
    Append(bytes, Wavetable, sizeof Wavetable);
    Append(bytes, PadwaveBuffer, sizeof PadwaveBuffer);
    Append(bytes, AdditiveFrame, sizeof AdditiveFrame);
    Append(bytes, Harmonics, sizeof Harmonics);
    for (const int32_t* choice : {&CurrentFrame, &OffsetFrame, &PadwaveValue, &Polarity, &ViewMode})
        Append(bytes, choice, 4);
    Append(bytes, &PadwaveTimes10, 1);
    for (const Knob& knob : Knobs) Append(bytes, &knob.value, 4);
    return bytes;
}

// What is not part of the document: the clipboards and the Additive view's saved levels.
std::vector<uint8_t> ClipboardBytes() {
    std::vector<uint8_t> bytes;
    Append(bytes, FrameClipboard, sizeof FrameClipboard);
    Append(bytes, TableClipboard, sizeof TableClipboard);
    Append(bytes, &TableClipboardLength, 4);
    Append(bytes, HarmonicSnapshot, sizeof HarmonicSnapshot);
    return bytes;
}

// Everything an open that fails must leave as it was.
std::vector<uint8_t> StateBytes() {
    std::vector<uint8_t> bytes = DocumentBytes();
    const std::vector<uint8_t> kept = ClipboardBytes();
    bytes.insert(bytes.end(), kept.begin(), kept.end());
    Append(bytes, UndoSnapshot, sizeof UndoSnapshot);
    Append(bytes, &PartialLimit, 4);
    return bytes;
}

// A document unlike New's in every part: knobs dragged to Wave 30, Offset 12 and Padwave 57
// with PadwaveValue 23 apart from its knob, x10 and negative polarity, extreme levels, an
// additive frame those levels do not give, and the specials where the displays draw them
// (every 4th sample of the Wave frame, every 256th of the pad) and at both ends.
void MakeDocument() {
    FreshWindow();
    Drag(57, 90, 57, 60);
    Drag(57, 218, 57, 206);
    Drag(57, 345, 57, 288);
    PadwaveValue = 23;
    PadwaveTimes10 = 1;
    Polarity = 0;
    const Levels levels = LevelSets()[3];
    std::copy(levels.begin(), levels.end(), Harmonics);
    for (int i = 0; i < TableSamples; ++i)
        Wavetable[i] = 0.3f * std::sin(0.01f * static_cast<float>(i % 1024 * (1 + i / 1024 % 5)));
    for (int i = 0; i < PadwaveSamples; ++i)
        PadwaveBuffer[i] = 0.2f * std::cos(0.0007f * static_cast<float>(i));
    for (int n = 0; n < SamplesPerFrame; ++n) AdditiveFrame[n] = n % 64 < 32 ? 0.25f : -0.1f;
    for (size_t k = 0; k < std::size(Specials); ++k) {
        FrameAt(30)[4 * k] = Specials[k];
        Wavetable[TableSamples - 1 - k] = Specials[k];
        PadwaveBuffer[256 * k] = Specials[k];
        PadwaveBuffer[PadwaveSamples - 1 - k] = Specials[k];
    }
}

const std::vector<uint8_t>& Raster() { return ClientSurface(HeadlessWindow()).pixels; }

// The chunks after "WAVE" in file order, and a file made of such chunks.
using ChunkList = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

ChunkList ChunksInOrder(const std::vector<uint8_t>& file) {
    ChunkList chunks;
    for (size_t at = 12; at + 8 <= file.size();) {
        const size_t length = U32At(file, at + 4);
        chunks.emplace_back(
            std::string(file.begin() + at, file.begin() + at + 4),
            std::vector<uint8_t>(file.begin() + at + 8, file.begin() + at + 8 + length));
        at += 8 + length + length % 2;
    }
    return chunks;
}

std::vector<uint8_t> RiffOf(const ChunkList& chunks) {
    std::vector<uint8_t> file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const auto& [tag, body] : chunks) {
        const std::vector<uint8_t> chunk = Chunk(tag.c_str(), body);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    const uint32_t size = static_cast<uint32_t>(file.size() - 8);
    std::memcpy(file.data() + 4, &size, 4);
    return file;
}

// Copies of a good file with one thing wrong.
struct Variants {
    std::vector<uint8_t> good;

    std::vector<uint8_t> Without(const std::string& tag) const {
        ChunkList chunks = ChunksInOrder(good);
        chunks.erase(std::remove_if(chunks.begin(), chunks.end(),
                                    [&](const auto& chunk) { return chunk.first == tag; }),
                     chunks.end());
        return RiffOf(chunks);
    }
    std::vector<uint8_t> Resized(const std::string& tag, int delta) const {
        ChunkList chunks = ChunksInOrder(good);
        for (auto& [name, body] : chunks)
            if (name == tag) body.resize(body.size() + delta);
        return RiffOf(chunks);
    }
    std::vector<uint8_t> WithField(const std::string& tag, size_t at, uint32_t value) const {
        ChunkList chunks = ChunksInOrder(good);
        for (auto& [name, body] : chunks)
            if (name == tag) std::memcpy(body.data() + at, &value, 4);
        return RiffOf(chunks);
    }
    std::vector<uint8_t> Cut(size_t size) const {
        return std::vector<uint8_t>(good.begin(), good.begin() + size);
    }
};

// sox's complaints about a file: what `sox <arguments>` prints on its error stream.
std::string SoxWarnings(const std::string& arguments) {
    FILE* pipe = popen((Sox() + " " + arguments + " 2>&1 >/dev/null").c_str(), "r");
    std::string text;
    char line[256];
    while (pipe && std::fgets(line, sizeof line, pipe)) text += line;
    if (pipe) pclose(pipe);
    return text;
}

// Writes each file and runs the command on it, then on a file that does not exist; the texts
// of the message boxes these should show.
using Refusals = std::vector<std::pair<std::string, std::vector<uint8_t>>>;
std::vector<std::string> RunOnEach(CommandId command, const ScratchFolder& folder,
                                   const Refusals& files) {
    std::vector<std::string> expected;
    for (const auto& [message, bytes] : files) {
        const std::string path = folder.File(std::to_string(expected.size()));
        WriteBytes(path, bytes);
        CommandOn(command, path);
        expected.push_back(message + "\n" + path);
    }
    CommandOn(command, folder.File("missing"));
    expected.push_back("can not open file\n" + folder.File("missing") +
                       "\nNo such file or directory");
    return expected;
}

} // namespace

// Save Project in each view (chosen from the View menu), New, a look at the Additive view
// (which recomputes its frame), Open Project: the document comes back
// bit for bit, the window shows the same pixels and the same menus (x10 and polarity checks among
// them), the clipboards and the saved levels stay as they were before the open, and Undo brings
// back the table from before the open.
TEST(ProjectFile, OpenBringsBackTheDocumentAndTheWindowAsSaved) {
    ScratchFolder folder;
    const std::string path = folder.File("project.wav");
    for (CommandId view : {CmdViewWaveform, CmdViewWavetable, CmdViewAdditive, CmdViewPadwave}) {
        MakeDocument();
        Command(view);
        Send(WM_PAINT);
        const std::vector<uint8_t> pixels = Raster();
        const std::string menus = MenuLayout();
        const std::vector<uint8_t> document = DocumentBytes();
        CommandOn(CmdSaveProject, path);
        Command(CmdNew);
        Command(CmdViewAdditive);
        FillFrame(3, 0.25f);
        FrameClipboard[5] = 0.5f;
        TableClipboard[7] = -0.5f;
        TableClipboardLength = SamplesPerFrame;
        HarmonicSnapshot[4] = 77;
        const std::vector<float> before(Wavetable, Wavetable + TableSamples);
        const std::vector<uint8_t> kept = ClipboardBytes();
        CommandOn(CmdOpenProject, path);
        Send(WM_PAINT);
        EXPECT_TRUE(DocumentBytes() == document) << view;
        EXPECT_TRUE(Raster() == pixels) << view;
        EXPECT_EQ(MenuLayout(), menus) << view;
        EXPECT_TRUE(ClipboardBytes() == kept) << view;
        EXPECT_TRUE(HeadlessMessageBoxes.empty()) << view;
        Command(CmdViewWaveform);
        Command(CmdUndo);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), Wavetable)) << view;
    }
}

// The bytes where the README puts them: a float WAV header (an 18-byte "fmt ", "fact" and
// "srge") before the table's samples as they lie in memory, the record with every choice,
// then the pad and the additive frame.
TEST(ProjectFile, ChunksHoldTheDocumentWhereTheReadmeSays) {
    ScratchFolder folder;
    MakeDocument();
    ViewMode = ViewAdditive;
    CommandOn(CmdSaveProject, folder.File("project.wav"));
    const std::vector<uint8_t> b = ReadBytes(folder.File("project.wav"));
    ASSERT_EQ(b.size(), 938242u);
    const std::string header("RIFF\xfa\x50\x0e\0WAVE"
                             "fmt \x12\0\0\0\x03\0\x01\0\x44\xac\0\0\x10\xb1\x02\0\x04\0\x20\0\0\0"
                             "fact\x04\0\0\0\0\x90\x01\0"
                             "srge\x08\0\0\0\x01\0\0\0\0\x04\0\0"
                             "data\0\x40\x06\0",
                             74);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 74), header);
    EXPECT_EQ(std::memcmp(b.data() + 74, Wavetable, sizeof Wavetable), 0);
    std::vector<uint8_t> record;
    PutTag(record, "qarn");
    for (int32_t v : {160, 1, 30, 12, 57, 23, 1, 0, 4002}) PutU32(record, static_cast<uint32_t>(v));
    const Levels levels = LevelSets()[3];
    for (int32_t level : levels) PutU32(record, static_cast<uint32_t>(level));
    EXPECT_TRUE(std::equal(record.begin(), record.end(), b.begin() + 409674));
    EXPECT_EQ(std::string(b.begin() + 409842, b.begin() + 409850),
              std::string("qpad\0\0\x08\0", 8));
    EXPECT_EQ(std::memcmp(b.data() + 409850, PadwaveBuffer, sizeof PadwaveBuffer), 0);
    EXPECT_EQ(std::string(b.begin() + 934138, b.begin() + 934146),
              std::string("qadd\0\x10\0\0", 8));
    EXPECT_EQ(std::memcmp(b.data() + 934146, AdditiveFrame, sizeof AdditiveFrame), 0);
}

// Readers nobody here wrote: sox and libsndfile find 102400 float samples at 44100 Hz and
// find nothing wrong (libsndfile only notes the chunks it does not know); Surge XT's rule
// gives frames of 1024.
TEST(ProjectFile, OtherReadersSeeAFloatWavetable) {
    SKIP_WITHOUT_SOX();
    ScratchFolder folder;
    FreshWindow();
    for (int i = 0; i < TableSamples; ++i)
        Wavetable[i] = 0.5f * std::sin(0.02f * static_cast<float>(i % 1024 * (1 + i / 1024)));
    const std::string path = folder.File("project.wav");
    CommandOn(CmdSaveProject, path);
    EXPECT_EQ(SoxInfo(path, "rcbse"), "44100\n1\n32\n102400\nFloating Point PCM\n");
    EXPECT_EQ(SoxWarnings("--i " + path), "");
    EXPECT_EQ(SoxWarnings(path + " -n"), "");
    EXPECT_EQ(SurgeFrameSize(ReadBytes(path)), 1024);
#ifdef QARNO_HAVE_SNDFILE
    SF_INFO format = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &format);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(format.frames, TableSamples);
    EXPECT_EQ(format.samplerate, 44100);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    std::vector<float> read(TableSamples);
    EXPECT_EQ(sf_read_float(file, read.data(), TableSamples), TableSamples);
    char log[4096] = {};
    sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
    sf_close(file);
    EXPECT_TRUE(std::equal(read.begin(), read.end(), Wavetable));
    std::string complaints;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);)
        if (line.find("***") != std::string::npos) complaints += line + "\n";
    EXPECT_EQ(complaints, "*** srge : 8 (unknown marker)\n*** qarn : 160 (unknown marker)\n"
                          "*** qpad : 524288 (unknown marker)\n*** qadd : 4096 (unknown marker)\n")
        << log;
#endif
}

// Files that are no project, damaged or cut off: each gives its message, and after all of
// them the document, the clipboards and the undo snapshot are byte for byte as they were.
TEST(ProjectFile, BadFilesChangeNothing) {
    ScratchFolder folder;
    MakeDocument();
    CommandOn(CmdSaveProject, folder.File("good.wav"));
    const Variants v{ReadBytes(folder.File("good.wav"))};
    ASSERT_EQ(v.good.size(), 938242u);
    Command(CmdNew);
    FillFrame(2, 0.5f);
    UndoSnapshot[9] = 3.0f;
    const std::vector<uint8_t> state = StateBytes();
    const char* const notProject = "not a project file";
    const char* const damaged = "damaged project file";
    const Refusals files = {
        {notProject, v.Without("qarn")},
        {notProject, WavFile(Fmt(3, 1, 32), {}, FloatData(std::vector<float>(TableSamples)))},
        {notProject, {'h', 'e', 'l', 'l', 'o'}},
        {notProject, {}},
        {damaged, v.Without("fmt ")},
        {damaged, v.Without("data")},
        {damaged, v.Without("qpad")},
        {damaged, v.Without("qadd")},
        {damaged, v.Resized("qarn", -1)},
        {damaged, v.Resized("qarn", 1)},
        {damaged, v.Resized("qarn", -4)},
        {damaged, v.Resized("qarn", 4)},
        {damaged, v.Resized("data", -1)},
        {damaged, v.Resized("data", 1)},
        {damaged, v.Resized("data", -4)},
        {damaged, v.Resized("data", 4)},
        {damaged, v.Resized("qpad", -1)},
        {damaged, v.Resized("qpad", 4)},
        {damaged, v.Resized("qadd", -4)},
        {damaged, v.Resized("qadd", 1)},
        {damaged, v.Resized("fmt ", -1)},
        {damaged, v.Resized("fmt ", 1)},
        {damaged, v.WithField("qarn", 0, 2)},
        {damaged, v.WithField("qarn", 0, 0)},
        {damaged, v.WithField("fmt ", 0, 1 | 1 << 16)},
        {damaged, v.WithField("fmt ", 0, 3 | 2 << 16)},
        {damaged, v.WithField("fmt ", 12, 2 | 16 << 16)},
        {damaged, v.WithField("qarn", 4, 0xFFFFFFFF)},
        {damaged, v.WithField("qarn", 8, 100)},
        {damaged, v.WithField("qarn", 12, 100)},
        {damaged, v.WithField("qarn", 16, 100)},
        {damaged, v.WithField("qarn", 20, 2)},
        {damaged, v.WithField("qarn", 24, 2)},
        {damaged, v.WithField("qarn", 28, ViewPadwave + 1)},
        {damaged, v.WithField("qarn", 28, ViewWaveform - 1)},
        {damaged, v.Cut(30)},
        {damaged, v.Cut(74 + 1000)},
        {damaged, v.Cut(409674)},
        {damaged, v.Cut(409674 + 88)},
        {damaged, v.Cut(409842 + 100000)},
        {damaged, v.Cut(v.good.size() - 1)},
    };
    EXPECT_EQ(ErrorTexts(), RunOnEach(CmdOpenProject, folder, files));
    EXPECT_TRUE(StateBytes() == state);
}

// Load Wavedata reads what Save Wavedata wrote, bit for bit, after the undo snapshot; a file
// one byte short or long, an empty one or none is reported and changes nothing, the undo
// snapshot included.
TEST(Wavedata, LoadsBackBitForBitOrNotAtAll) {
    ScratchFolder folder;
    MakeDocument();
    Command(CmdViewWavetable);
    CommandOn(CmdSaveWavedata, folder.File("table.txt"));
    const std::vector<float> saved(Wavetable, Wavetable + TableSamples);
    FillTableWithIndices();
    CommandOn(CmdLoadWavedata, folder.File("table.txt"));
    EXPECT_EQ(std::memcmp(Wavetable, saved.data(), sizeof Wavetable), 0);
    Command(CmdUndo);
    EXPECT_TRUE(TableHoldsIndicesOutside(0, -1));

    const std::vector<uint8_t> whole = ReadBytes(folder.File("table.txt"));
    std::vector<uint8_t> longer = whole;
    longer.push_back(0);
    const char* const refused = "not a wave data file";
    const Refusals files = {
        {refused, std::vector<uint8_t>(whole.begin(), whole.end() - 1)},
        {refused, longer},
        {refused, {}},
    };
    const std::vector<uint8_t> state = StateBytes();
    EXPECT_EQ(ErrorTexts(), RunOnEach(CmdLoadWavedata, folder, files));
    EXPECT_TRUE(StateBytes() == state);
}

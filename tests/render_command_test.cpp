#include <memory>

#include "app/render_command.h"
#include "io/wav_files.h"
#include "synth/audition.h"
#include "tests/file_helpers.h"

namespace {

struct RenderRun {
    int status;
    std::string errors;
};

RenderRun RunRender(std::vector<std::string> args) {
    args.insert(args.begin(), {"qarno-wavetable-maker", "render"});
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    testing::internal::CaptureStderr();
    const int status = RunRenderCommand(static_cast<int>(argv.size()), argv.data());
    return {status, testing::internal::GetCapturedStderr()};
}

// A saved table: frame 0 a Sine, frame 99 a Square, morphed between.
std::string SavedTable(const ScratchFolder& folder) {
    SineToSquareTable();
    const std::string path = folder.File("table.wav");
    CommandOn(CmdSaveWavetable, path);
    return path;
}

AuditionEvent Event(AuditionEventType type, uint8_t note = 0, uint8_t value = 0) {
    AuditionEvent event;
    event.type = type;
    event.note = note;
    event.value = value;
    return event;
}

// The engine itself, as the command is to play it: held, released, rendered
// in 256-frame blocks until the voice is done.
std::vector<float> EngineNote(const std::string& table, uint8_t note, uint8_t velocity,
                              float seconds, float from, float to, int rate) {
    std::vector<float> frames(TableSamples);
    FileError error;
    EXPECT_TRUE(ReadWavFrames(table, frames.data(), FrameCount, error));
    const std::vector<float> silence(PadwaveSamples, 0.0f);
    std::unique_ptr<AuditionMaterial, decltype(&FreeAuditionMaterial)> material(
        BuildAuditionMaterial(frames.data(), silence.data(), silence.data(), nullptr),
        &FreeAuditionMaterial);
    AuditionEngine engine;
    AuditionReset(engine, static_cast<float>(rate));
    AuditionEvent mode = Event(AuditionEventType::SetPlayMode);
    mode.mode.from = from;
    mode.mode.to = to;
    mode.mode.seconds = seconds;
    AuditionApply(engine, mode);
    AuditionApply(engine, Event(AuditionEventType::NoteOn, note, velocity));
    const int held = static_cast<int>(std::lround(seconds * static_cast<float>(rate)));
    std::vector<float> out(2 * static_cast<size_t>(held));
    AuditionRender(engine, material.get(), out.data(), held);
    AuditionApply(engine, Event(AuditionEventType::NoteOff, note));
    std::vector<float> block(2 * 256);
    while (engine.voices[0].stage != AuditionStage::Idle) {
        AuditionRender(engine, material.get(), block.data(), 256);
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

} // namespace

TEST(RenderCommand, WritesTheEnginesNoteAsFloatStereo) {
    const ScratchFolder folder;
    const std::string table = SavedTable(folder);
    const std::string out = folder.File("note.wav");
    const RenderRun run = RunRender({table, out, "--note", "A3", "--seconds", "0.5", "--from", "10",
                                     "--to", "60", "--velocity", "90", "--rate", "44100"});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    const std::vector<uint8_t> file = ReadBytes(out);
    ASSERT_GE(file.size(), 44u);
    EXPECT_EQ(std::string(file.begin() + 36, file.begin() + 40), "data");
    EXPECT_EQ(GetU16(file.data() + 20), 3); // IEEE float
    EXPECT_EQ(GetU16(file.data() + 22), 2); // stereo
    EXPECT_EQ(U32At(file, 24), 44100u);
    EXPECT_EQ(GetU16(file.data() + 34), 32);
    const std::vector<float> expected = EngineNote(table, 57, 90, 0.5f, 10.0f, 60.0f, 44100);
    ASSERT_EQ(U32At(file, 40), expected.size() * 4);
    ASSERT_EQ(file.size(), 44 + expected.size() * 4);
    EXPECT_EQ(std::memcmp(file.data() + 44, expected.data(), expected.size() * 4), 0);
    // Held half a second, then the release: the file is longer by about 150 ms.
    EXPECT_NEAR(static_cast<double>(expected.size()) / 2 / 44100, 0.65, 0.01);
}

TEST(RenderCommand, NotesByNameAreTheirNumbers) {
    const ScratchFolder folder;
    const std::string table = SavedTable(folder);
    for (auto [name, number] :
         {std::pair{"C3", "48"}, std::pair{"C#3", "49"}, std::pair{"Db3", "49"},
          std::pair{"Eb2", "39"}, std::pair{"A4", "69"}, std::pair{"C-1", "0"}}) {
        const std::string byName = folder.File("name.wav");
        const std::string byNumber = folder.File("number.wav");
        ASSERT_EQ(RunRender({table, byName, "--note", name, "--seconds", "0.05"}).status, 0);
        ASSERT_EQ(RunRender({table, byNumber, "--note", number, "--seconds", "0.05"}).status, 0);
        EXPECT_EQ(ReadBytes(byName), ReadBytes(byNumber)) << name;
    }
    // Without --note: C3.
    const std::string plain = folder.File("plain.wav");
    const std::string c3 = folder.File("c3.wav");
    ASSERT_EQ(RunRender({table, plain, "--seconds", "0.05"}).status, 0);
    ASSERT_EQ(RunRender({table, c3, "--seconds", "0.05", "--note", "48"}).status, 0);
    EXPECT_EQ(ReadBytes(plain), ReadBytes(c3));
}

TEST(RenderCommand, AFileThatFailsIsNamedInOneLineAndLeavesNoOutput) {
    const ScratchFolder folder;
    const std::string table = SavedTable(folder);
    const std::string out = folder.File("out.wav");
    const std::string missing = folder.File("missing.wav");
    RenderRun run = RunRender({missing, out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "qarno-wavetable-maker: can not open file " + missing +
                              ": No such file or directory\n");
    const std::string text = folder.File("text.wav");
    WriteBytes(text, {'h', 'e', 'l', 'l', 'o'});
    run = RunRender({text, out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "qarno-wavetable-maker: can not load " + text + ": not a WAV file\n");
    const std::string nowhere = folder.File("no/such/folder/out.wav");
    run = RunRender({table, nowhere, "--seconds", "0.01"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "qarno-wavetable-maker: can not open file " + nowhere +
                              ": No such file or directory\n");
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path),
                            std::filesystem::directory_iterator()),
              2); // the table and the text file: no temporary left behind
}

TEST(RenderCommand, MisuseShowsTheUsageAndWritesNothing) {
    const ScratchFolder folder;
    const std::string table = SavedTable(folder);
    const std::string out = folder.File("out.wav");
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {table},
        {table, out, "extra.wav"},
        {table, out, "--note"},
        {table, out, "--note", "H4"},
        {table, out, "--note", "128"},
        {table, out, "--note", "C10"},
        {table, out, "--note", "Cb-1"},
        {table, out, "--seconds", "-1"},
        {table, out, "--seconds", "4s"},
        {table, out, "--from", "100"},
        {table, out, "--to", "nan"},
        {table, out, "--velocity", "0"},
        {table, out, "--velocity", "64.5"},
        {table, out, "--rate", "1000"},
        {table, out, "--loud", "1"},
    };
    for (const std::vector<std::string>& args : misuses) {
        const RenderRun run = RunRender(args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
        EXPECT_EQ(run.errors.rfind("Usage: qarno-wavetable-maker render", 0), 0u) << run.errors;
        EXPECT_FALSE(std::filesystem::exists(out)) << testing::PrintToString(args);
    }
}

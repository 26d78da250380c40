#include <sstream>

#include "app/render_command.h"
#include "io/wav_files.h"
#include "tests/audition_events.h"
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

// The engine itself, as the command is to play it: held, released, rendered
// in 256-frame blocks until the voice is done.
std::vector<float> EngineNote(const std::string& table, uint8_t note, uint8_t velocity,
                              float seconds, float from, float to, int rate) {
    std::vector<float> frames(TableSamples);
    FileError error;
    EXPECT_TRUE(ReadWavFrames(table, frames.data(), FrameCount, error));
    const std::vector<float> silence(PadwaveSamples, 0.0f);
    const Material material(
        BuildAuditionMaterial(frames.data(), silence.data(), silence.data(), nullptr),
        &FreeAuditionMaterial);
    AuditionEngine engine;
    AuditionReset(engine, static_cast<float>(rate));
    AuditionApply(engine, Mode(from, to, seconds));
    AuditionApply(engine, NoteOnEvent(note, velocity));
    const int held = static_cast<int>(std::lround(seconds * static_cast<float>(rate)));
    std::vector<float> out(2 * static_cast<size_t>(held));
    AuditionRender(engine, material.get(), out.data(), held);
    AuditionApply(engine, NoteOffEvent(note));
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

// "" renders without --note: C3.
TEST(RenderCommand, NotesByNameAreTheirNumbers) {
    const ScratchFolder folder;
    const std::string table = SavedTable(folder);
    for (auto [name, number] :
         {std::pair{"C3", "48"}, std::pair{"C#3", "49"}, std::pair{"Db3", "49"},
          std::pair{"Eb2", "39"}, std::pair{"A4", "69"}, std::pair{"C-1", "0"},
          std::pair{"", "48"}}) {
        std::vector<std::string> byName = {table, folder.File("name.wav"), "--seconds", "0.05"};
        if (*name) byName.insert(byName.end(), {"--note", name});
        const std::string byNumber = folder.File("number.wav");
        ASSERT_EQ(RunRender(byName).status, 0);
        ASSERT_EQ(RunRender({table, byNumber, "--note", number, "--seconds", "0.05"}).status, 0);
        EXPECT_EQ(ReadBytes(byName[1]), ReadBytes(byNumber)) << name;
    }
}

TEST(RenderCommand, AFileThatFailsIsNamedInOneLineAndLeavesNoOutput) {
    const ScratchFolder folder;
    const std::string table = SavedTable(folder);
    const std::string out = folder.File("out.wav");
    const std::string missing = folder.File("missing.wav");
    const std::string text = folder.File("text.wav");
    const std::string nowhere = folder.File("no/such/folder/out.wav");
    WriteBytes(text, {'h', 'e', 'l', 'l', 'o'});
    const std::string absent = ": No such file or directory\n";
    for (auto [in, to, error] :
         {std::tuple{missing, out, "can not open file " + missing + absent},
          std::tuple{text, out, "can not load " + text + ": not a WAV file\n"},
          std::tuple{table, nowhere, "can not open file " + nowhere + absent}}) {
        const RenderRun run = RunRender({in, to, "--seconds", "0.01"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.errors, "qarno-wavetable-maker: " + error);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path),
                            std::filesystem::directory_iterator()),
              2); // the table and the text file: no temporary left behind
}

TEST(RenderCommand, MisuseShowsTheUsageAndWritesNothing) {
    const ScratchFolder folder;
    const std::string table = SavedTable(folder);
    const std::string out = folder.File("out.wav");
    std::vector<std::vector<std::string>> misuses = {{}, {table}};
    for (const char* extra :
         {"extra.wav", "--note", "--note H4", "--note 128", "--note C10", "--note Cb-1",
          "--seconds -1", "--seconds 4s", "--from 100", "--to nan", "--velocity 0",
          "--velocity 64.5", "--rate 1000", "--loud 1"}) {
        std::istringstream words(extra);
        misuses.push_back({table, out});
        for (std::string word; words >> word;) misuses.back().push_back(word);
    }
    for (const std::vector<std::string>& args : misuses) {
        const RenderRun run = RunRender(args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
        EXPECT_EQ(run.errors.rfind("Usage: qarno-wavetable-maker render", 0), 0u) << run.errors;
        EXPECT_FALSE(std::filesystem::exists(out)) << testing::PrintToString(args);
    }
}

#include <sstream>

#include "app/command_line.h"
#include "io/audio_import_pipeline.h"
#include "io/wav_files.h"
#include "io/wav_format.h"
#include "synth/formula.h"
#include "tests/audio_helpers.h"
#include "tests/audition_events.h"

namespace {

struct CommandRun {
    int status;
    std::string output, errors;
};

// Runs `qarno-wavetable-maker ARGS...` as main dispatches it.
CommandRun RunCommand(std::vector<std::string> args) {
    args.insert(args.begin(), "qarno-wavetable-maker");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    const CommandLineRow* row = FindCommandLineRow(static_cast<int>(argv.size()), argv.data());
    EXPECT_NE(row, nullptr) << args[1];
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = row ? row->run(static_cast<int>(argv.size()), argv.data()) : -1;
    const std::string output = testing::internal::GetCapturedStdout();
    return {status, output, testing::internal::GetCapturedStderr()};
}

// A saved table: frame 0 a Sine, frame 99 a Square, morphed between.
std::string SavedTable(const ScratchFolder& folder) {
    SineToSquareTable();
    const std::string path = folder.File("table.wav");
    CommandOn(CmdSaveWavetable, path);
    return path;
}

// The engine's note as the command plays it: held, released, rendered in 256-frame blocks.
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
    while (!AuditionSilent(engine)) {
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
    const CommandRun run =
        RunCommand({"render", table, out, "--note", "A3", "--seconds", "0.5", "--from", "11",
                    "--to", "61", "--velocity", "90", "--rate", "44100"});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    // An 18-byte "fmt " (float, stereo, 44100 Hz, extension size 0), then "fact" and "data".
    const std::vector<uint8_t> file = ReadBytes(out);
    EXPECT_EQ(
        std::string(file.begin() + 12, file.begin() + 46),
        std::string("fmt \x12\0\0\0\3\0\2\0\x44\xac\0\0\x20\x62\5\0\x08\0\x20\0\0\0fact\4\0\0\0",
                    34));
    const std::vector<float> expected = EngineNote(table, 57, 90, 0.5f, 10.0f, 60.0f, 44100);
    EXPECT_EQ(file, BuildStereoFloatImage(expected.data(), expected.size() / 2, 44100));
    // The defaults: C3 at full velocity over the whole table (LEDs 1 to 100), 48 kHz.
    const std::vector<float> plain = EngineNote(table, 48, 127, 0.05f, 0.0f, 99.0f, 48000);
    for (const auto& args :
         {std::vector<std::string>{"render", table, out, "--seconds", "0.05"},
          {"render", table, out, "--seconds", "0.05", "--from", "1", "--to", "100"}}) {
        ASSERT_EQ(RunCommand(args).status, 0);
        EXPECT_EQ(ReadBytes(out), BuildStereoFloatImage(plain.data(), plain.size() / 2, 48000));
    }
    // Held for no time, the note still reaches full level and then sounds through its release.
    ASSERT_EQ(RunCommand({"render", table, out, "--seconds", "0"}).status, 0);
    const std::vector<float> brief = ReadWithSndfile(out).samples;
    ASSERT_NEAR(static_cast<double>(brief.size()) / 2 / 48000, 0.153, 0.006);
    EXPECT_GT(Peak(brief, 2 * 4800, 2 * 5280), 0.25f * Peak(brief));
}

TEST(ImportCommand, WritesTheTableAndPrintsThePitch) {
    ScratchFolder folder;
    const std::string audio = folder.File("tone.flac");
    ASSERT_TRUE(WriteSound(audio, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 44100, 1,
                           HarmonicTone(261.63, 1.0, 44100, 20)));
    const std::string out = folder.File("table.wav");
    const CommandRun run = RunCommand({"import", audio, out, "--from", "0.2", "--to", "0.9"});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output, "C4 +0 cents, 261.6 Hz\n");
    std::vector<float> frames(static_cast<size_t>(TableSamples));
    double found = 0.0;
    std::string message;
    ASSERT_TRUE(
        ImportAudioCycles(audio, {0.2, 0.9}, 0.0, FrameCount, frames.data(), found, message));
    EXPECT_EQ(ReadBytes(out), BuildWavImage(frames.data(), TableSamples, 44100,
                                            WavPurpose::SavedFrames, 0, TableSamples - 1));

    const std::string wide = folder.File("wide.wav");
    EXPECT_EQ(RunCommand({"import", audio, wide, "--export-2048", "--pitch", "C4"}).status, 0);
    ASSERT_TRUE(ImportAudioCycles(audio, {0.05, 1.0}, NoteHz(60), FrameCount, frames.data(), found,
                                  message));
    EXPECT_EQ(ReadBytes(wide), BuildExport2048Image(frames.data()));

    // A failure is one line and leaves no file; a backwards span is a misuse.
    const std::string none = folder.File("none.wav");
    EXPECT_EQ(RunCommand({"import", audio, none, "--from", "0.5", "--to", "0.501"}).errors,
              "qarno-wavetable-maker: the chosen span is too short for two cycles\n");
    const CommandRun backwards = RunCommand({"import", audio, none, "--from", "3", "--to", "1"});
    EXPECT_EQ(backwards.status, 2);
    EXPECT_EQ(backwards.errors.substr(backwards.errors.rfind('\n', backwards.errors.size() - 2)),
              "\nqarno-wavetable-maker: the span ends before it starts\n");
    EXPECT_FALSE(std::filesystem::exists(none));
}

// The frames F..G (LED numbers, either order) as the engine computes them, over --in's others.
TEST(GenerateCommand, WritesTheEnginesFramesOverTheOthers) {
    const ScratchFolder folder;
    const std::string out = folder.File("out.wav");
    CommandRun run = RunCommand({"generate", out, "--formula", "(x<y)*2-1+1/(w-0.5)*0", "--from",
                                 "3", "--to", "1", "--float"});
    EXPECT_EQ(run.errors, "qarno-wavetable-maker: 3 samples were not numbers and became 0\n");
    std::vector<float> expected(TableSamples, 0.0f);
    ApplyFormula({FormulaMode::Wave, "(x<y)*2-1+1/(w-0.5)*0"}, expected.data(), 0, 2);
    const SndfileView read = ReadWithSndfile(out);
    EXPECT_EQ(read.format.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_TRUE(read.samples == expected);
    EXPECT_EQ(SurgeFrameSize(ReadBytes(out)), 1024);

    const std::string in = SavedTable(folder);
    run = RunCommand({"generate", out, "--harmonics", "in*(q<=8)", "--phase", "q", "--from", "50",
                      "--to", "50", "--in", in});
    ASSERT_EQ(run.status, 0) << run.errors;
    FileError error;
    ASSERT_TRUE(ReadWavFrames(in, expected.data(), FrameCount, error));
    ApplyFormula({FormulaMode::Harmonics, "", "in*(q<=8)", "q"}, expected.data(), 49, 49);
    EXPECT_TRUE(ReadBytes(out) == BuildWavImage(expected.data(), TableSamples, 44100,
                                                WavPurpose::SavedFrames, 49 * 1024, 50 * 1024 - 1));

    std::filesystem::remove(out);
    run = RunCommand({"generate", out, "--formula", "sin(x"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find(" at column "), std::string::npos) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(out));
}

// A file that fails is named in one line, status 1; a misuse shows the usage first, status 2;
// neither leaves a file. --help shows the usage with status 0.
TEST(CommandLine, FailuresAndMisuseWriteNothing) {
    const ScratchFolder folder;
    const std::string table = SavedTable(folder);
    const std::string out = folder.File("out.wav");
    const std::string text = folder.File("text.wav");
    const std::string nowhere = folder.File("no/such/folder/out.wav");
    WriteBytes(text, {'h', 'e', 'l', 'l', 'o'});
    for (auto [in, to, error] : {std::tuple{text, out, text + ": not a WAV file\n"},
                                 {table, nowhere, nowhere + ": No such file or directory\n"}}) {
        const CommandRun run = RunCommand({"render", in, to, "--seconds", "0.01"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.errors, "qarno-wavetable-maker: " + error);
    }
    std::istringstream lines(
        "render;render T;render T O extra.wav;render T O --note;render T O --note H4;"
        "render T O --note 128;render T O --note C10;render T O --note Cb-1;"
        "render T O --seconds -1;render T O --seconds 4s;render T O --from 0;"
        "render T O --to 101;render T O --velocity 0;render T O --velocity 64.5;"
        "render T O --rate 1000;render T O --loud 1;import T;import T O --pitch loud;"
        "import T O --gain 2;import T O --to -1;generate O;"
        "generate O --formula x --harmonics 1/q;generate O --formula x --phase 0;"
        "generate O --formula x --from 0;generate O --formula x --to 101;"
        "generate O --formula x --float --export-2048;export T O;export T O --for nope;"
        "export T O --for custom:1x2048:float:none;export T O --for blofeld --slot 79;"
        "export T O --for serum --between fade;");
    for (std::string line; std::getline(lines, line, ';');) {
        std::vector<std::string> args;
        std::istringstream split(line);
        for (std::string word; split >> word;)
            args.push_back(word == "T" ? table : word == "O" ? out : word);
        const CommandRun run = RunCommand(args);
        EXPECT_EQ(run.status, 2) << line;
        EXPECT_EQ(run.errors.rfind("Usage: qarno-wavetable-maker " + args[0], 0), 0u) << run.errors;
        const CommandRun help = RunCommand({args[0], "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.output.rfind("Usage: qarno-wavetable-maker " + args[0], 0), 0u);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path),
                            std::filesystem::directory_iterator()),
              2); // the table and the text file: no temporary left behind
}

// Any layout to any other: a saved table to a Blofeld dump of the slot and name asked for, that
// dump to a 16-bit .wt; a broken file fails with its reason and writes nothing.
TEST(ExportCommand, ConvertsLayoutsOrSaysWhyNot) {
    ScratchFolder folder;
    const std::string syx = folder.File("a.syx"), wt = folder.File("b.wt");
    EXPECT_EQ(RunCommand({"export", SavedTable(folder), syx, "--for", "blofeld", "--name", "Pad\tA",
                          "--slot", "118"})
                  .status,
              0);
    const std::vector<uint8_t> dump = ReadBytes(syx);
    ASSERT_EQ(dump.size(), 26240u);
    EXPECT_EQ(dump[63 * 410 + 5], 118);
    EXPECT_EQ(std::string(dump.begin() + 392, dump.begin() + 406), "Pad A         ");
    EXPECT_EQ(RunCommand({"export", syx, wt, "--for", "custom:16x32:16:none"}).status, 0);
    EXPECT_EQ(ReadBytes(wt).size(), 1036u);
    WriteBytes(wt, {'v', 'a', 'w', 't', 3, 0, 0, 0, 1, 0, 0, 0});
    const CommandRun run = RunCommand({"export", wt, syx + "2", "--for", "surge"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "qarno-wavetable-maker: " + wt +
                              ": frame size 3 is not a power of two from 2 to 4096\n");
    EXPECT_FALSE(std::filesystem::exists(syx + "2"));
}

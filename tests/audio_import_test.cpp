#include "app/import_command.h"
#include "io/audio_import_pipeline.h"
#include "io/cycle_extract.h"
#include "io/pitch_names.h"
#include "io/wav_files.h"
#include "tests/audio_helpers.h"

namespace {

struct Format {
    const char* name;
    int format;
    double levelTolerance; // dB
};
const Format Formats[] = {
    {"tone.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 0.1},
    {"tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 0.1},
    {"tone.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1.0},
};

} // namespace

// 20 harmonics at 196 Hz (225 samples a cycle) and 261.63 Hz (168.56): the pitch to half a
// cent, and in every frame the tone's harmonic levels, the fundamental as a sine from sample
// 0, and no seam (a jump between a frame's ends would spread above the 20th harmonic).
TEST(ImportAudio, SyntheticTonesGiveTheirCyclesInEveryFormat) {
    ScratchFolder folder;
    std::vector<float> frames(static_cast<size_t>(TableSamples));
    for (double hz : {196.0, 261.63}) {
        const std::vector<float> tone = HarmonicTone(hz, 1.2, 44100, 20);
        for (const Format& f : Formats) {
            SCOPED_TRACE(std::string(f.name) + " at " + std::to_string(hz));
            const std::string path = folder.File(f.name);
            ASSERT_TRUE(WriteSound(path, f.format, 44100, 1, tone));
            AudioFileInfo info;
            FileError error;
            ASSERT_TRUE(ProbeAudioFile(path, info, error)) << error.why;
            double found = 0.0;
            std::string message;
            ASSERT_TRUE(ImportAudioCycles(path, DefaultSpan(info), 0.0, FrameCount, frames.data(),
                                          found, message))
                << message;
            EXPECT_LT(std::fabs(Cents(found, hz)), 0.5) << found;
            double worstLevel = 0.0, worstPhase = 0.0, worstSeam = -1000.0;
            for (int i = 0; i < FrameCount; ++i) {
                const std::vector<std::complex<double>> bins =
                    FrameSpectrum(frames.data() + i * SamplesPerFrame);
                const double first = std::abs(bins[1]);
                for (int k = 2; k <= 20; ++k)
                    worstLevel =
                        std::max(worstLevel, std::fabs(Decibels(std::abs(bins[k]) * k / first)));
                const double phase = std::remainder(std::arg(bins[1]) + M_PI / 2, 2 * M_PI);
                worstPhase = std::max(worstPhase, std::fabs(phase));
                for (int k = 21; k < SamplesPerFrame / 2; ++k)
                    worstSeam = std::max(worstSeam, Decibels(std::abs(bins[k]) / first));
            }
            EXPECT_LT(worstLevel, f.levelTolerance);
            EXPECT_LT(worstPhase, 0.01);
            EXPECT_LT(worstSeam, -60.0);
        }
    }
}

namespace {

// Imports the whole span of the file into `frames`, or says why not.
bool ImportWhole(const std::string& path, double pitch, std::vector<float>& frames, double& found,
                 std::string& message) {
    frames.assign(static_cast<size_t>(TableSamples), 0.0f);
    AudioFileInfo info;
    FileError error;
    if (!ProbeAudioFile(path, info, error)) {
        message = error.why;
        return false;
    }
    return ImportAudioCycles(path, DefaultSpan(info), pitch, FrameCount, frames.data(), found,
                             message);
}

double WorstMargin(const std::vector<float>& frames) {
    double worst = 1000.0;
    for (int i = 0; i < FrameCount; ++i)
        worst = std::min(worst, FundamentalMargin(frames.data() + i * SamplesPerFrame));
    return worst;
}

} // namespace

// A sine gliding from 220 to 330 Hz over 2 s: the pitch is followed, so every frame is one
// cycle, not a window of a cycle and a bit.
TEST(ImportAudio, GlideGivesSingleCyclesAllAlong) {
    ScratchFolder folder;
    std::vector<float> glide(88200);
    double phase = 0.0;
    for (size_t n = 0; n < glide.size(); ++n) {
        glide[n] = static_cast<float>(0.5 * std::sin(phase));
        phase += 2.0 * M_PI * (220.0 + 110.0 * n / glide.size()) / 44100.0;
    }
    const std::string path = folder.File("glide.wav");
    ASSERT_TRUE(WriteSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_24, 44100, 1, glide));
    std::vector<float> frames;
    double found = 0.0;
    std::string message;
    ASSERT_TRUE(ImportWhole(path, 0.0, frames, found, message)) << message;
    EXPECT_GE(WorstMargin(frames), 40.0);
}

// Notes of the General MIDI font: the pitch within 5 cents of the one measured in the sound by
// its spectrum's first harmonics (the font's samples are not all tuned to their note), never an
// octave off, and every frame one cycle: its odd bins, which two cycles would leave empty, hold
// more than a thousandth of its energy.
TEST(ImportAudio, InstrumentNotesImportAtTheirOwnPitch) {
    ScratchFolder folder;
    struct Note {
        const char* name;
        int program, note;
        double cents; // the low piano's stretched partials: held to the octave only
    };
    const Note notes[] = {{"low piano", 0, 28, 50.0},
                          {"violin", 40, 55, 5.0},
                          {"cello", 42, 48, 5.0},
                          {"flute", 73, 77, 5.0}};
    for (const Note& n : notes) {
        SCOPED_TRACE(n.name);
        const std::string path = folder.File(std::string(n.name) + ".wav");
        if (!RenderNote(folder.path.string(), path, n.program, n.note, 1.5))
            GTEST_SKIP() << "fluidsynth or the General MIDI font is missing";
        std::vector<float> frames;
        double found = 0.0;
        std::string message;
        ASSERT_TRUE(ImportWhole(path, 0.0, frames, found, message)) << message;
        const double nominal = 440.0 * std::exp2((n.note - 69) / 12.0);
        EXPECT_LT(std::fabs(Cents(found, MeasuredPitch(path, nominal))), n.cents) << found;
        for (int i = 0; i < FrameCount; ++i) {
            const std::vector<std::complex<double>> bins =
                FrameSpectrum(frames.data() + i * SamplesPerFrame);
            double odd = 0.0, all = 1e-30;
            for (int k = 1; k < SamplesPerFrame / 2; ++k) {
                all += std::norm(bins[k]);
                if (k % 2 == 1) odd += std::norm(bins[k]);
            }
            EXPECT_GT(10.0 * std::log10(odd / all), -30.0) << "frame " << i;
        }
    }
}

// Noise and silence have no pitch: the message names the file, and nothing is written; with a
// typed pitch they import, a period of that pitch a frame.
TEST(ImportAudio, UnpitchedSoundWantsATypedPitch) {
    ScratchFolder folder;
    std::vector<float> noise(44100);
    uint32_t seed = 12345;
    for (float& s : noise) {
        seed = seed * 1664525u + 1013904223u;
        s = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
    }
    const std::vector<float> silence(44100, 0.0f);
    for (const auto& [name, sound] :
         {std::make_pair("noise.wav", noise), std::make_pair("silence.wav", silence)}) {
        const std::string path = folder.File(name);
        ASSERT_TRUE(WriteSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 1, sound));
        std::vector<float> frames;
        double found = 0.0;
        std::string message;
        EXPECT_FALSE(ImportWhole(path, 0.0, frames, found, message));
        EXPECT_EQ(message, "no steady pitch found in " + path + "; type a pitch to import it");
        EXPECT_TRUE(std::all_of(frames.begin(), frames.end(), [](float s) { return s == 0.0f; }));
        EXPECT_TRUE(ImportWhole(path, 441.0, frames, found, message)) << message;
        EXPECT_EQ(found, 441.0);
    }
}

// Files libsndfile cannot read give its reason after the path; a 6-channel 96 kHz file mixes
// its channels (here the tone sits in two of them, the others silent), an 8 kHz file imports;
// a span of less than two cycles is refused.
TEST(ImportAudio, BadFilesSayWhyAndOddFilesImport) {
    ScratchFolder folder;
    const std::string empty = folder.File("empty.flac");
    WriteBytes(empty, {});
    const std::string text = folder.File("notes.wav");
    WriteBytes(text, std::vector<uint8_t>(3000, 'x'));
    const std::string flac = folder.File("cut.flac");
    ASSERT_TRUE(WriteSound(flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 1,
                           HarmonicTone(196.0, 2.0, 44100, 5)));
    std::vector<uint8_t> bytes = ReadBytes(flac);
    bytes.resize(bytes.size() / 2);
    WriteBytes(flac, bytes);
    std::vector<float> frames(static_cast<size_t>(TableSamples), 0.0f);
    double found = 0.0;
    for (const std::string& path : {empty, text, flac, folder.File("missing.ogg")}) {
        std::string message;
        EXPECT_FALSE(
            ImportAudioCycles(path, {0.0, 100.0}, 0.0, FrameCount, frames.data(), found, message));
        EXPECT_EQ(message.rfind("can not read audio file " + path + ": ", 0), 0u) << message;
        EXPECT_GT(message.size(), ("can not read audio file " + path + ": ").size());
    }
    EXPECT_TRUE(std::all_of(frames.begin(), frames.end(), [](float s) { return s == 0.0f; }));

    const std::vector<float> tone96 = HarmonicTone(196.0, 0.6, 96000, 10);
    std::vector<float> six(tone96.size() * 6, 0.0f);
    for (size_t n = 0; n < tone96.size(); ++n) six[n * 6 + 1] = six[n * 6 + 4] = tone96[n];
    const std::string surround = folder.File("six.wav");
    ASSERT_TRUE(WriteSound(surround, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 96000, 6, six));
    const std::string phone = folder.File("phone.wav");
    ASSERT_TRUE(WriteSound(phone, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1,
                           HarmonicTone(196.0, 0.6, 8000, 10)));
    for (const std::string& path : {surround, phone}) {
        std::string message;
        EXPECT_TRUE(ImportWhole(path, 0.0, frames, found, message)) << message;
        EXPECT_LT(std::fabs(Cents(found, 196.0)), 1.0) << path;
        EXPECT_NEAR(WorstMargin(frames), 6.02, 0.1) << path; // the second harmonic at half
    }
    std::string message;
    EXPECT_FALSE(ImportAudioCycles(phone, {0.1, 0.1 + 1.9 / 196.0}, 196.0, FrameCount,
                                   frames.data(), found, message));
    EXPECT_EQ(message, "the chosen span is too short for two cycles");
    EXPECT_TRUE(ImportAudioCycles(phone, {0.1, 0.1 + 2.1 / 196.0}, 196.0, FrameCount, frames.data(),
                                  found, message));
}

// Note names and frequencies as the dialog and the command line read and show them.
TEST(ImportAudio, PitchesReadAndShowAsNotes) {
    double hz = 0.0;
    EXPECT_TRUE(ParsePitch("A4", hz));
    EXPECT_DOUBLE_EQ(hz, 440.0);
    EXPECT_TRUE(ParsePitch(" g3 ", hz));
    EXPECT_NEAR(hz, 195.9977, 1e-4);
    EXPECT_TRUE(ParsePitch("Bb2", hz));
    EXPECT_NEAR(hz, 116.5409, 1e-4);
    EXPECT_TRUE(ParsePitch("196.2 Hz", hz));
    EXPECT_DOUBLE_EQ(hz, 196.2);
    for (const char* bad : {"", "H3", "A", "440 kHz", "-5", "nan", "G#"})
        EXPECT_FALSE(ParsePitch(bad, hz)) << bad;
    EXPECT_EQ(DescribePitch(196.2), "G3 +2 cents, 196.2 Hz");
    EXPECT_EQ(DescribePitch(438.0), "A4 -8 cents, 438.0 Hz");
    EXPECT_EQ(DescribePitch(32.7032), "C1 +0 cents, 32.7 Hz");
}

// Through the menu and the dialogs: the dialog shows the file, its length, the detected pitch
// and the default span; Cancel changes nothing and takes no snapshot; OK in the Waveform view
// fills the current frame alone after the snapshot; a file dropped on the Wavetable view fills
// the table, in the Additive view it does nothing; a failure says so and keeps the table.
TEST(ImportAudio, MenuAndDropGoThroughTheDialog) {
    ScratchFolder folder;
    const std::string path = folder.File("violin.wav");
    ASSERT_TRUE(WriteSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, [] {
        const std::vector<float> mono = HarmonicTone(196.2, 2.0, 44100, 8);
        std::vector<float> stereo;
        for (float s : mono) stereo.insert(stereo.end(), {s, s});
        return stereo;
    }()));
    FreshEditor();
    FillTableWithIndices();
    std::copy(Wavetable, Wavetable + TableSamples, UndoSnapshot);
    ViewMode = ViewWaveform;
    CurrentFrame = 7;
    HeadlessImportAnswers.push_back(std::nullopt);
    CommandOn(CmdImportAudio, path);
    EXPECT_EQ(HeadlessDialogsShown.back().filterText,
              "Audio files (*.wav *.flac *.ogg *.opus *.aiff *.aif *.mp3)");
    ASSERT_EQ(HeadlessImportDialogsShown.size(), 1u);
    const ImportDialog& shown = HeadlessImportDialogsShown[0];
    EXPECT_EQ(shown.fileName, "violin.wav");
    EXPECT_EQ(shown.length, "2.00 s (44100 Hz, 2 channels)");
    EXPECT_EQ(shown.detected, "G3 +2 cents, 196.2 Hz");
    EXPECT_DOUBLE_EQ(shown.from, 0.1);
    EXPECT_DOUBLE_EQ(shown.to, 2.0);
    EXPECT_TRUE(TableHoldsIndicesOutside(100, -1));
    EXPECT_TRUE(std::equal(Wavetable, Wavetable + TableSamples, UndoSnapshot));

    HeadlessImportAnswers.push_back(HeadlessImportAnswer{"", 0.5, 1.5});
    CommandOn(CmdImportAudio, path);
    EXPECT_TRUE(TableHoldsIndicesOutside(7, 7));
    EXPECT_EQ(UndoSnapshot[7 * SamplesPerFrame + 3], IndexValue(7, 3));
    const float* frame = FrameAt(7);
    float peak = 0.0f;
    for (int n = 0; n < SamplesPerFrame; ++n) peak = std::max(peak, std::fabs(frame[n]));
    EXPECT_NEAR(peak, 0.5f / 1.4142f, 1e-5f);
    EXPECT_GT(FundamentalMargin(frame), 5.0);

    FillTableWithIndices();
    ViewMode = ViewAdditive;
    HeadlessDropFile(path);
    EXPECT_EQ(HeadlessImportDialogsShown.size(), 2u);
    ViewMode = ViewWavetable;
    HeadlessImportAnswers.push_back(HeadlessImportAnswer{"G3", std::nullopt, std::nullopt});
    HeadlessDropFile(path);
    EXPECT_EQ(HeadlessImportDialogsShown.size(), 3u);
    EXPECT_EQ(UndoSnapshot[99 * SamplesPerFrame], IndexValue(99, 0));
    for (int i = 0; i < FrameCount; ++i) EXPECT_GT(FundamentalMargin(FrameAt(i)), 5.0) << i;

    FillTableWithIndices();
    HeadlessImportAnswers.push_back(HeadlessImportAnswer{"", 1.0, 1.005});
    HeadlessDropFile(path);
    HeadlessImportAnswers.push_back(HeadlessImportAnswer{"H9", std::nullopt, std::nullopt});
    HeadlessDropFile(path);
    HeadlessDropFile(folder.File("gone.wav"));
    EXPECT_TRUE(TableHoldsIndicesOutside(100, -1));
    const std::vector<std::string> errors = ErrorTexts();
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0], "the chosen span is too short for two cycles");
    EXPECT_EQ(errors[1], "\"H9\" is not a pitch: type Hz (196.2) or a note name (G3)");
    EXPECT_EQ(errors[2].rfind("can not read audio file " + folder.File("gone.wav") + ": ", 0), 0u);
}

namespace {

struct ImportRun {
    int status;
    std::string output;
    std::string errors;
};

ImportRun RunImport(std::vector<std::string> args) {
    args.insert(args.begin(), {"qarno-wavetable-maker", "import"});
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = RunImportCommand(static_cast<int>(argv.size()), argv.data());
    const std::string output = testing::internal::GetCapturedStdout();
    return {status, output, testing::internal::GetCapturedStderr()};
}

} // namespace

// The command line writes the table Save Wavetable writes (it loads back as the frames the
// import makes, to a 16-bit step), or Export 2048's with --export-2048, and prints the pitch;
// a failure is one line and no file, a misuse the usage and status 2.
TEST(ImportAudio, CommandLineWritesTheTable) {
    ScratchFolder folder;
    const std::string audio = folder.File("tone.flac");
    ASSERT_TRUE(WriteSound(audio, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 44100, 1,
                           HarmonicTone(261.63, 1.0, 44100, 20)));
    const std::string out = folder.File("table.wav");
    const ImportRun run = RunImport({audio, out, "--from", "0.2", "--to", "0.9"});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output, "C4 +0 cents, 261.6 Hz\n");
    std::vector<float> frames(static_cast<size_t>(TableSamples));
    double found = 0.0;
    std::string message;
    ASSERT_TRUE(
        ImportAudioCycles(audio, {0.2, 0.9}, 0.0, FrameCount, frames.data(), found, message));
    FreshEditor();
    ViewMode = ViewWavetable;
    CommandOn(CmdLoadWavetable, out);
    int mismatches = 0;
    for (int i = 0; i < TableSamples; ++i) {
        const float stored = static_cast<float>(static_cast<int>(frames[i] * 65536.0f * 0.76f));
        if (std::fabs(Wavetable[i] - stored * 0.00002f) > 1e-6f) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(SurgeFrameSize(ReadBytes(out)), 1024);

    const std::string wide = folder.File("wide.wav");
    EXPECT_EQ(RunImport({audio, wide, "--export-2048", "--pitch", "C4"}).status, 0);
    double c4 = 0.0;
    ASSERT_TRUE(ParsePitch("C4", c4));
    ASSERT_TRUE(
        ImportAudioCycles(audio, {0.05, 1.0}, c4, FrameCount, frames.data(), found, message));
    EXPECT_EQ(ReadBytes(wide), BuildExport2048Image(frames.data()));

    const std::string none = folder.File("none.wav");
    const ImportRun bad = RunImport({folder.File("missing.wav"), none});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.errors.rfind("qarno-wavetable-maker: can not read audio file " +
                                   folder.File("missing.wav") + ": ",
                               0),
              0u);
    EXPECT_EQ(std::count(bad.errors.begin(), bad.errors.end(), '\n'), 1);
    const ImportRun shortSpan = RunImport({audio, none, "--from", "0.5", "--to", "0.501"});
    EXPECT_EQ(shortSpan.errors,
              "qarno-wavetable-maker: the chosen span is too short for two cycles\n");
    EXPECT_FALSE(std::filesystem::exists(none));
    for (const std::vector<std::string>& misuse : {std::vector<std::string>{audio},
                                                   {audio, none, "--pitch", "loud"},
                                                   {audio, none, "--gain", "2"}}) {
        const ImportRun run = RunImport(misuse);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.errors.rfind("Usage: qarno-wavetable-maker import", 0), 0u);
    }
}

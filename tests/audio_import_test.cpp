#include "io/audio_import_pipeline.h"
#include "platform/common/envelope_picture.h"
#include "tests/audio_helpers.h"
#include <random>

namespace {

struct Imported {
    bool ok = false;
    double found = 0.0;
    std::string message;
    AudioSpan span; // the one imported
    std::vector<float> frames = std::vector<float>(TableSamples, 0.0f);
    const float* Frame(int i) const { return frames.data() + i * SamplesPerFrame; }
};

// Writes the sound (unless empty) as a file, then imports its default span, or `span`.
Imported Import(const std::string& path, const std::vector<float>& sound, double pitch = 0.0,
                std::optional<AudioSpan> span = {}, int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                int rate = 44100, int channels = 1) {
    Imported got;
    EXPECT_TRUE(sound.empty() || WriteSound(path, format, rate, channels, sound));
    AudioFileSummary summary;
    if (!span && DescribeAudioFile(path, summary, got.message)) span = summary.span;
    got.span = span.value_or(AudioSpan{0.0, 100.0});
    got.ok = ImportAudioCycles(path, got.span, pitch, FrameCount, got.frames.data(), got.found,
                               got.message);
    return got;
}

std::vector<float> Noise() {
    std::vector<float> noise(44100);
    std::minstd_rand random(12345);
    for (float& s : noise) s = static_cast<float>(random()) / 2147483647.0f - 0.5f;
    return noise;
}

double WorstMargin(const Imported& got) {
    double worst = 1000.0;
    for (int i = 0; i < FrameCount; ++i) worst = std::min(worst, FundamentalMargin(got.Frame(i)));
    return worst;
}

} // namespace

// Tones to half a cent, each frame with their levels, sine phase from 0 and no seam; then a
// glide and real notes: the pitch followed, one cycle a frame, no frame dropping out.
TEST(ImportAudio, TonesGlidesAndNotesGiveSingleCycles) {
    ScratchFolder folder;
    for (double hz : {196.0, 261.63}) {
        for (auto [name, format, levelTolerance] :
             {std::tuple{"tone.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 0.1},
              {"tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 0.1},
              {"tone.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1.0}}) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(hz));
            const Imported got =
                Import(folder.File(name), HarmonicTone(hz, 1.2, 44100, 20), 0.0, {}, format);
            ASSERT_TRUE(got.ok) << got.message;
            EXPECT_LT(std::fabs(Cents(got.found, hz)), 0.5) << got.found;
            for (int i = 0; i < FrameCount; ++i) {
                SCOPED_TRACE(i);
                const Bins bins = FrameSpectrum(got.Frame(i));
                const double first = std::abs(bins[1]);
                EXPECT_LT(std::fabs(std::remainder(std::arg(bins[1]) + M_PI / 2, 2 * M_PI)), 0.01);
                for (int k = 2; k <= 20; ++k)
                    EXPECT_LT(std::fabs(Decibels(std::abs(bins[k]) * k / first)), levelTolerance);
                for (int k = 21; k < SamplesPerFrame / 2; ++k) // a seam spreads up here
                    EXPECT_LT(Decibels(std::abs(bins[k]) / first), -60.0) << k;
            }
        }
    }
    std::vector<float> glide(88200);
    for (size_t n = 0; n < glide.size(); ++n) // 220 Hz rising by 55 Hz a second
        glide[n] = static_cast<float>(
            0.5 * std::sin(2.0 * M_PI * (220.0 + 27.5 * n / 44100.0) * n / 44100.0));
    EXPECT_GE(WorstMargin(Import(folder.File("glide.wav"), glide)), 40.0);
    // Cents allowed: the low piano's partials are stretched, the flute's pitch wanders.
    for (auto [name, program, note, cents] : {std::tuple{"low piano", 0, 28, 50.0},
                                              {"violin", 40, 55, 5.0},
                                              {"cello", 42, 48, 5.0},
                                              {"flute", 73, 77, 10.0}}) {
        SCOPED_TRACE(name);
        const std::string path = folder.File(std::string(name) + ".wav");
        if (!RenderNote(folder.path.string(), path, program, note, 1.5))
            GTEST_SKIP() << "fluidsynth or the General MIDI font is missing";
        const Imported got = Import(path, {});
        ASSERT_TRUE(got.ok) << got.message;
        EXPECT_LT(got.span.to, 1.6); // the release and silent tail left out
        const double tuned = MeasuredPitch(path, NoteHz(note), got.span.from, got.span.to);
        EXPECT_LT(std::fabs(Cents(got.found, tuned)), cents) << got.found;
        double loudest = -1000.0, quietest = 1000.0;
        for (int i = 0; i < FrameCount; ++i) {
            const Bins bins = FrameSpectrum(got.Frame(i));
            double odd = 0.0, all = 1e-30;
            for (int k = 1; k < SamplesPerFrame / 2; ++k) {
                all += std::norm(bins[k]);
                if (k % 2 == 1) odd += std::norm(bins[k]);
            }
            EXPECT_GT(10.0 * std::log10(odd / all), -30.0) << "frame " << i; // not two cycles
            loudest = std::max(loudest, 10.0 * std::log10(all));
            quietest = std::min(quietest, 10.0 * std::log10(all));
        }
        EXPECT_LT(loudest - quietest, 12.0);
    }
}

// No pitch, unreadable files, many channels, low rates, short spans; then through the dialog.
TEST(ImportAudio, BadFilesSayWhyOddFilesImportAndTheDialogDecides) {
    ScratchFolder folder;
    const std::vector<float> untouched(TableSamples, 0.0f);
    const std::string noise = folder.File("noise.wav"), empty = folder.File("empty.flac"),
                      text = folder.File("notes.wav"), flac = folder.File("cut.flac");
    for (auto [path, sound] : {std::pair{noise, Noise()},
                               {folder.File("silence.wav"), std::vector<float>(44100, 0.0f)}}) {
        const Imported got = Import(path, sound);
        EXPECT_FALSE(got.ok);
        EXPECT_EQ(got.message, "no steady pitch found in " + path + "; type a pitch to import it");
        EXPECT_EQ(got.frames, untouched);
        EXPECT_EQ(Import(path, {}, 441.0).found, 441.0);
    }
    WriteBytes(empty, {});
    WriteBytes(text, std::vector<uint8_t>(3000, 'x'));
    ASSERT_TRUE(WriteSound(flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 1,
                           HarmonicTone(196.0, 2.0, 44100, 5)));
    const std::vector<uint8_t> bytes = ReadBytes(flac);
    WriteBytes(flac, {bytes.begin(), bytes.begin() + bytes.size() / 2});
    for (const std::string& path : {empty, text, flac, folder.File("missing.ogg")}) {
        const Imported got = Import(path, {}, 0.0, AudioSpan{0.0, 100.0});
        EXPECT_FALSE(got.ok);
        EXPECT_EQ(got.message.rfind(path + ": ", 0), 0u) << got.message;
        EXPECT_GT(got.message.size(), (path + ": ").size()); // libsndfile's reason follows
        EXPECT_EQ(got.frames, untouched);
    }
    // Six channels at 96 kHz, the tone in two of them, and a phone's 8 kHz.
    const std::vector<float> tone96 = HarmonicTone(196.0, 0.6, 96000, 10);
    std::vector<float> six(tone96.size() * 6, 0.0f);
    for (size_t n = 0; n < tone96.size(); ++n) six[n * 6 + 1] = six[n * 6 + 4] = tone96[n];
    const std::string phone = folder.File("phone.wav");
    for (const Imported& got :
         {Import(folder.File("six.wav"), six, 0.0, {}, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 96000, 6),
          Import(phone, HarmonicTone(196.0, 0.6, 8000, 10), 0.0, {},
                 SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000)}) {
        EXPECT_TRUE(got.ok) << got.message;
        EXPECT_LT(std::fabs(Cents(got.found, 196.0)), 1.0);
        EXPECT_NEAR(WorstMargin(got), 6.02, 0.1); // the second harmonic at half
    }
    EXPECT_FALSE(Import(phone, {}, 196.0, AudioSpan{0.1, 0.1 + 1.9 / 196.0}).ok);
    EXPECT_TRUE(Import(phone, {}, 196.0, AudioSpan{0.1, 0.1 + 2.1 / 196.0}).ok);

    // The dialog shows the file, its length, pitch and default span; Cancel changes nothing.
    const std::string path = folder.File("violin.wav");
    std::vector<float> stereo;
    for (float s : HarmonicTone(196.2, 2.0, 44100, 8)) stereo.insert(stereo.end(), {s, s});
    ASSERT_TRUE(WriteSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, stereo));
    FreshEditor();
    FillTableWithIndices();
    const TableCopy table = CopyOfTable();
    std::fill_n(UndoSnapshot, TableSamples, 0.0f);
    const auto snapshotOf = [](const TableCopy& t) {
        return std::equal(t.begin(), t.end(), UndoSnapshot);
    };
    ViewMode = ViewWaveform;
    CurrentFrame = 7;
    HeadlessImportAnswers.push_back(std::nullopt);
    CommandOn(CmdImportAudio, path);
    EXPECT_EQ(HeadlessDialogsShown.back().filterText,
              "Audio files (*.wav *.flac *.ogg *.opus *.aiff *.aif *.mp3)");
    ASSERT_EQ(HeadlessImportDialogs.size(), 1u);
    const ImportDialog& shown = HeadlessImportDialogs[0].offered;
    EXPECT_EQ(shown.fileName, "violin.wav");
    EXPECT_EQ(shown.length, "2.00 s (44100 Hz, 2 channels)");
    EXPECT_EQ(shown.detected, "G3 +2 cents, 196.2 Hz");
    EXPECT_DOUBLE_EQ(shown.from, 0.05);
    EXPECT_DOUBLE_EQ(shown.to, 2.0);
    const Surface picture = EnvelopePicture(shown, shown.from, shown.to); // 440 columns
    for (auto [x, colour] :
         {std::pair{10, EnvelopeLevel}, {11, EnvelopeSpanLevel}, {439, EnvelopeSpanLevel}})
        EXPECT_EQ(picture.At(x, EnvelopePictureHeight - 1), colour) << x;
    EXPECT_TRUE(TableKept(table) && AllZero(UndoSnapshot, UndoSnapshot + TableSamples));
    // OK in the Waveform view fills the current frame alone, after the snapshot.
    HeadlessImportAnswers.push_back(HeadlessImportAnswer{"", 0.5, 1.5});
    CommandOn(CmdImportAudio, path);
    EXPECT_TRUE(TableHoldsIndicesOutside(7, 7));
    EXPECT_EQ(UndoSnapshot[7 * SamplesPerFrame + 3], IndexValue(7, 3));
    EXPECT_NEAR(Peak(std::vector<float>(FrameAt(7), FrameAt(8))), 0.5f / 1.4142f, 1e-5f);
    EXPECT_GT(FundamentalMargin(FrameAt(7)), 5.0);
    // A drop does nothing in the Additive view and fills the table in the Wavetable view.
    FillTableWithIndices();
    ViewMode = ViewAdditive;
    HeadlessDropFile(path);
    EXPECT_EQ(HeadlessImportDialogs.size(), 2u);
    ViewMode = ViewWavetable;
    HeadlessImportAnswers.push_back(HeadlessImportAnswer{"G3", std::nullopt, std::nullopt});
    HeadlessDropFile(path);
    EXPECT_EQ(HeadlessImportDialogs.size(), 3u);
    EXPECT_EQ(UndoSnapshot[99 * SamplesPerFrame], IndexValue(99, 0));
    for (int i = 0; i < FrameCount; ++i) EXPECT_GT(FundamentalMargin(FrameAt(i)), 5.0) << i;
    // Each refusal is said in the dialog, which keeps what was typed; nothing changes.
    const TableCopy imported = CopyOfTable();
    const std::vector<HeadlessImportAnswer> answers{
        {"H9", {}, {}}, {"", 1.0, 1.005}, {"", 1.5, 1.0}, {"", {}, {}}};
    const std::string refusals[] = {
        "\"H9\" is not a pitch: type Hz (196.2) or a note name (G3)",
        "the chosen span is too short for two cycles", "the span ends before it starts",
        "no steady pitch found in " + noise + "; type a pitch to import it"};
    for (size_t i = 0; i < answers.size(); ++i) {
        HeadlessImportAnswers.push_back(answers[i]);
        HeadlessDropFile(i < 3 ? path : noise);
        const RecordedImportDialog& dialog = HeadlessImportDialogs.back();
        ASSERT_EQ(dialog.refusals.size(), 1u);
        EXPECT_EQ(dialog.refusals[0].first, refusals[i]);
        EXPECT_EQ(dialog.refusals[0].second.pitch, answers[i].pitch);
        EXPECT_EQ(dialog.refusals[0].second.to, answers[i].to.value_or(dialog.offered.to));
        EXPECT_TRUE(TableKept(imported) && snapshotOf(table));
    }
    HeadlessDropFile(folder.File("gone.wav")); // an unreadable file: its box, no dialog
    EXPECT_EQ(HeadlessImportDialogs.size(), 7u);
    EXPECT_EQ(ErrorTexts(),
              std::vector<std::string>{folder.File("gone.wav") + ": No such file or directory"});
    HeadlessImportAnswers.push_back(HeadlessImportAnswer{"", {}, {}});
    HeadlessImportAnswers.push_back(HeadlessImportAnswer{"441", {}, {}});
    HeadlessDropFile(noise);
    EXPECT_EQ(HeadlessImportDialogs.back().refusals.size(), 1u);
    EXPECT_TRUE(!TableKept(imported) && snapshotOf(imported));
}

#include "io/audio_import_pipeline.h"
#include "platform/common/envelope_picture.h"
#include "tests/audio_helpers.h"
#include <numeric>

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
                std::optional<AudioSpan> span = {}, int format = SF_FORMAT_WAV | SF_FORMAT_PCM_24,
                int rate = 44100, int channels = 1) {
    Imported got;
    if (!sound.empty()) {
        EXPECT_TRUE(WriteSound(path, format, rate, channels, sound));
    }
    AudioFileSummary summary;
    if (!span && DescribeAudioFile(path, summary, got.message)) span = summary.span;
    got.span = span.value_or(AudioSpan{0.0, 100.0});
    got.ok = ImportAudioCycles(path, got.span, pitch, FrameCount, got.frames.data(), got.found,
                               got.message);
    return got;
}

std::vector<float> Noise(size_t length) {
    std::vector<float> noise(length);
    uint32_t seed = 12345;
    for (float& s : noise) {
        seed = seed * 1664525u + 1013904223u;
        s = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
    }
    return noise;
}

double WorstMargin(const Imported& got) {
    double worst = 1000.0;
    for (int i = 0; i < FrameCount; ++i) worst = std::min(worst, FundamentalMargin(got.Frame(i)));
    return worst;
}

} // namespace

// 20 harmonics at 196 Hz (225 samples a cycle) and 261.63 Hz (168.56): the pitch to half a
// cent, and in every frame the tone's harmonic levels, the fundamental as a sine from sample
// 0, and no seam (a jump between a frame's ends would spread above the 20th harmonic).
TEST(ImportAudio, SyntheticTonesGiveTheirCyclesInEveryFormat) {
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
            double worstLevel = 0.0, worstPhase = 0.0, worstSeam = -1000.0;
            for (int i = 0; i < FrameCount; ++i) {
                const std::vector<std::complex<double>> bins = FrameSpectrum(got.Frame(i));
                const double first = std::abs(bins[1]);
                for (int k = 2; k <= 20; ++k)
                    worstLevel =
                        std::max(worstLevel, std::fabs(Decibels(std::abs(bins[k]) * k / first)));
                const double phase = std::remainder(std::arg(bins[1]) + M_PI / 2, 2 * M_PI);
                worstPhase = std::max(worstPhase, std::fabs(phase));
                for (int k = 21; k < SamplesPerFrame / 2; ++k)
                    worstSeam = std::max(worstSeam, Decibels(std::abs(bins[k]) / first));
            }
            EXPECT_LT(worstLevel, levelTolerance);
            EXPECT_LT(worstPhase, 0.01);
            EXPECT_LT(worstSeam, -60.0);
        }
    }
}

// A sine gliding from 220 to 330 Hz over 2 s: the pitch is followed, so every frame is one
// cycle, not a window of a cycle and a bit. Notes of the General MIDI font: the pitch within 5
// cents of the one measured in the span by its spectrum's first harmonics (the font's samples
// are not all tuned to their note), never an octave off, every frame one cycle (its odd bins,
// which two cycles would leave empty, hold more than a thousandth of its energy) and within
// 12 dB of the loudest.
TEST(ImportAudio, GlidesAndInstrumentNotesGiveSingleCycles) {
    ScratchFolder folder;
    std::vector<float> glide(88200);
    double phase = 0.0;
    for (size_t n = 0; n < glide.size(); ++n) {
        glide[n] = static_cast<float>(0.5 * std::sin(phase));
        phase += 2.0 * M_PI * (220.0 + 110.0 * n / glide.size()) / 44100.0;
    }
    const Imported glided = Import(folder.File("glide.wav"), glide);
    ASSERT_TRUE(glided.ok) << glided.message;
    EXPECT_GE(WorstMargin(glided), 40.0);
    // The low piano's stretched partials: held to the octave only; the flute's pitch wanders
    // by 6 cents within its note.
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
        // The default span leaves out the release and the silent tail: no frame drops out.
        EXPECT_LT(got.span.to, 1.6);
        std::vector<double> levels;
        for (int i = 0; i < FrameCount; ++i)
            levels.push_back(Decibels(
                std::sqrt(std::inner_product(got.Frame(i), got.Frame(i + 1), got.Frame(i), 0.0))));
        EXPECT_LT(*std::max_element(levels.begin(), levels.end()) -
                      *std::min_element(levels.begin(), levels.end()),
                  12.0);
        const double nominal = 440.0 * std::exp2((note - 69) / 12.0);
        EXPECT_LT(
            std::fabs(Cents(got.found, MeasuredPitch(path, nominal, got.span.from, got.span.to))),
            cents)
            << got.found;
        for (int i = 0; i < FrameCount; ++i) {
            const std::vector<std::complex<double>> bins = FrameSpectrum(got.Frame(i));
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
// typed pitch they import. Files libsndfile cannot read give its reason after the path; a
// 6-channel 96 kHz file mixes its channels (here the tone sits in two of them, the others
// silent), an 8 kHz file imports; a span of less than two cycles is refused.
TEST(ImportAudio, BadFilesSayWhyAndOddFilesImport) {
    ScratchFolder folder;
    for (auto [name, sound] :
         {std::pair{"noise.wav", Noise(44100)}, {"silence.wav", std::vector<float>(44100, 0.0f)}}) {
        const std::string path = folder.File(name);
        const Imported got = Import(path, sound, 0.0, {}, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        EXPECT_FALSE(got.ok);
        EXPECT_EQ(got.message, "no steady pitch found in " + path + "; type a pitch to import it");
        EXPECT_EQ(got.frames, std::vector<float>(TableSamples, 0.0f));
        const Imported typed = Import(path, {}, 441.0);
        EXPECT_TRUE(typed.ok) << typed.message;
        EXPECT_EQ(typed.found, 441.0);
    }

    const std::string empty = folder.File("empty.flac"), text = folder.File("notes.wav");
    WriteBytes(empty, {});
    WriteBytes(text, std::vector<uint8_t>(3000, 'x'));
    const std::string flac = folder.File("cut.flac");
    ASSERT_TRUE(WriteSound(flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 1,
                           HarmonicTone(196.0, 2.0, 44100, 5)));
    std::vector<uint8_t> bytes = ReadBytes(flac);
    bytes.resize(bytes.size() / 2);
    WriteBytes(flac, bytes);
    for (const std::string& path : {empty, text, flac, folder.File("missing.ogg")}) {
        const Imported got = Import(path, {}, 0.0, AudioSpan{0.0, 100.0});
        EXPECT_FALSE(got.ok);
        EXPECT_EQ(got.message.rfind(path + ": ", 0), 0u) << got.message;
        EXPECT_GT(got.message.size(), (path + ": ").size());
        EXPECT_EQ(got.frames, std::vector<float>(TableSamples, 0.0f));
    }

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
    const Imported tooShort = Import(phone, {}, 196.0, AudioSpan{0.1, 0.1 + 1.9 / 196.0});
    EXPECT_FALSE(tooShort.ok);
    EXPECT_EQ(tooShort.message, "the chosen span is too short for two cycles");
    EXPECT_TRUE(Import(phone, {}, 196.0, AudioSpan{0.1, 0.1 + 2.1 / 196.0}).ok);
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
    ASSERT_EQ(HeadlessImportDialogs.size(), 1u);
    const ImportDialog& shown = HeadlessImportDialogs[0].offered;
    EXPECT_EQ(shown.fileName, "violin.wav");
    EXPECT_EQ(shown.length, "2.00 s (44100 Hz, 2 channels)");
    EXPECT_EQ(shown.detected, "G3 +2 cents, 196.2 Hz");
    EXPECT_DOUBLE_EQ(shown.from, 0.05);
    EXPECT_DOUBLE_EQ(shown.to, 2.0);
    // The picture shades the columns whose middle lies in the span (2 s over 440 columns).
    const Surface picture = EnvelopePicture(shown, shown.from, shown.to);
    for (auto [x, colour] :
         {std::pair{10, EnvelopeLevel}, {11, EnvelopeSpanLevel}, {439, EnvelopeSpanLevel}})
        EXPECT_EQ(picture.At(x, EnvelopePictureHeight - 1), colour) << x;
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
    EXPECT_EQ(HeadlessImportDialogs.size(), 2u);
    ViewMode = ViewWavetable;
    HeadlessImportAnswers.push_back(HeadlessImportAnswer{"G3", std::nullopt, std::nullopt});
    HeadlessDropFile(path);
    EXPECT_EQ(HeadlessImportDialogs.size(), 3u);
    EXPECT_EQ(UndoSnapshot[99 * SamplesPerFrame], IndexValue(99, 0));
    for (int i = 0; i < FrameCount; ++i) EXPECT_GT(FundamentalMargin(FrameAt(i)), 5.0) << i;

    // Each refusal is said in the dialog, which keeps what was typed and takes the next answer;
    // the table and the snapshot stay byte for byte; an unreadable file gives its box first.
    FillTableWithIndices();
    const std::vector<float> table(Wavetable, Wavetable + TableSamples);
    const std::vector<float> snapshot(UndoSnapshot, UndoSnapshot + TableSamples);
    const std::string noise = folder.File("noise.wav");
    ASSERT_TRUE(WriteSound(noise, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 1, Noise(44100)));
    for (const auto& [file, answers, refusals] :
         {std::tuple{
              path,
              std::vector<HeadlessImportAnswer>{{"H9", {}, {}}, {"", 1.0, 1.005}, {"", 1.5, 1.0}},
              std::vector<std::string>{"\"H9\" is not a pitch: type Hz (196.2) or a note name (G3)",
                                       "the chosen span is too short for two cycles",
                                       "the span ends before it starts"}},
          {noise,
           {{"", {}, {}}},
           {"no steady pitch found in " + noise + "; type a pitch to import it"}}}) {
        for (const HeadlessImportAnswer& answer : answers) HeadlessImportAnswers.push_back(answer);
        HeadlessDropFile(file);
        const RecordedImportDialog& dialog = HeadlessImportDialogs.back();
        ASSERT_EQ(dialog.refusals.size(), refusals.size());
        for (size_t i = 0; i < refusals.size(); ++i) {
            EXPECT_EQ(dialog.refusals[i].first, refusals[i]);
            EXPECT_EQ(dialog.refusals[i].second.pitch, answers[i].pitch);
            EXPECT_EQ(dialog.refusals[i].second.to, answers[i].to.value_or(dialog.offered.to));
        }
        EXPECT_EQ(std::vector<float>(Wavetable, Wavetable + TableSamples), table);
        EXPECT_EQ(std::vector<float>(UndoSnapshot, UndoSnapshot + TableSamples), snapshot);
    }
    HeadlessDropFile(folder.File("gone.wav"));
    EXPECT_EQ(HeadlessImportDialogs.size(), 5u);
    const std::vector<std::string> errors = ErrorTexts();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], folder.File("gone.wav") + ": No such file or directory");
    HeadlessImportAnswers.push_back(HeadlessImportAnswer{"", {}, {}});
    HeadlessImportAnswers.push_back(HeadlessImportAnswer{"441", {}, {}});
    HeadlessDropFile(noise);
    EXPECT_EQ(HeadlessImportDialogs.back().refusals.size(), 1u);
    EXPECT_NE(std::vector<float>(Wavetable, Wavetable + TableSamples), table);
    EXPECT_EQ(std::vector<float>(UndoSnapshot, UndoSnapshot + TableSamples), table);
}

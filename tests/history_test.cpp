// The document's history: every step kept and brought back bit for bit.
#include <functional>

#include "app/live_audition.h"
#include "core/history.h"
#include "synth/additive.h"
#include "synth/audition.h"
#include "tests/audio_helpers.h"
#include "tests/file_helpers.h"

namespace {

// The table, the pad, the harmonic levels and the additive frame as bytes.
std::string Now() {
    const auto bytes = [](const auto& buffer) {
        return std::string(reinterpret_cast<const char*>(buffer), sizeof buffer);
    };
    return bytes(Wavetable) + bytes(PadwaveBuffer) + bytes(Harmonics) + bytes(AdditiveFrame);
}

// Edit > History... by its key, the selection moved to `moves`, then OK on `chosen` or Cancel.
void History(std::vector<int> moves, std::optional<int> chosen) {
    HeadlessHistoryAnswers.push_back({std::move(moves), chosen});
    ASSERT_TRUE(HeadlessPressKey("Ctrl+H"));
}

// One drag, press to release, over harmonic `h`'s slider to height `y`.
void DragSlider(int h, int y) {
    const int x = HarmonicSlider.left[h] + 2;
    Press(x, 250), Move(x, 240), Move(x, y), Release();
}

} // namespace

// Twenty steps of every kind, each brought back in turn; Undo takes each restore back. What
// changes nothing adds no entry: Normalize of silence, Copy, knob drags, saves, a cancelled
// dialog, a refused file.
TEST(History, EveryStepComesBackBitForBitAndUndoTakesTheRestoreBack) {
    ScratchFolder folder;
    const std::string tone = folder.File("tone.wav"), table = folder.File("t.wav"),
                      project = folder.File("p.wav");
    ASSERT_TRUE(WriteSound(tone, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 1,
                           HarmonicTone(220.0, 1.0, 44100, 6)));
    FreshWindow();
    HeadlessImportAnswers.push_back(HeadlessImportAnswer{}); // the import's choices as offered
    const std::pair<std::function<void()>, std::string> steps[] = {
        {[] { Command(CmdNormalize), Command(CmdCopy), Command(CmdSaw); }, "Saw|frame 1"},
        {[] { WavetableKnobs(20, 10), Command(CmdSine); }, "Sine|frames 11–21"},
        {[] { WavetableKnobs(0, 99), Command(CmdMorph); }, "Morph|frames 2–99"},
        {[&] { CommandOn(CmdSaveWavetable, table), Command(CmdClear); }, "Clear|frames 1–99"},
        {[&] { CommandOn(CmdLoadWavetable, tone + "x"), CommandOn(CmdLoadWavetable, table); },
         "Load Wavetable t.wav|frames 1–99"},
        {[] { Command(CmdLowPass), CommandOn(CmdLowPass, "32"); }, "Low Pass 32|frames 1–99"},
        {[] { HeadlessFormulaAnswers.push_back(HeadlessFormulaAnswer{}), Command(CmdFormula); },
         "Formula|frames 1–100"},
        {[] { Command(CmdViewWaveform), CurrentFrame = 10, Command(CmdClear); }, "Clear|frame 11"},
        {[] { WavetableKnobs(0, 99), Command(CmdFillGaps); }, "Fill Gaps|frame 11"},
        {[&] { CommandOn(CmdImportAudio, tone); }, "Import Audio tone.wav|frames 1–100"},
        {[] { Command(CmdViewPadwave), Command(CmdGenerate); }, "Generate|pad"},
        {[] { Command(CmdGenerate); }, "Generate|pad"},
        {[] { Command(CmdViewAdditive), DragSlider(3, 230); }, "Harmonic levels|harmonics"},
        {[] { DragSlider(5, 210), Command(CmdViewWavetable); }, "Harmonic levels|harmonics"},
        {[&] { CommandOn(CmdSaveProject, project), Command(CmdNew); },
         "New|frames 1–100, harmonics, pad"},
        {[] { Command(CmdUndo); }, "Undo|frames 1–100"},
        {[&] { CommandOn(CmdOpenProject, project); }, "Open Project p.wav|harmonics, pad"},
        {[] { Command(CmdRandom); }, "Random|frame 1"},
        {[] { Command(CmdInvert); }, "Invert|frame 1"},
        {[] { Command(CmdViewAdditive), Command(CmdClear); }, "Clear|harmonics"},
        {[] { Command(CmdViewWaveform), Drag(57, 217, 57, 150), Command(CmdReverse); },
         "Reverse|frame 1"},
    };
    SynthesizeAdditive();
    std::vector<std::string> kept{Now()};
    for (const auto& [step, expected] : steps) {
        step();
        SynthesizeAdditive();
        kept.push_back(Now());
        const HistoryRow& newest = HistoryEntryAt(1);
        EXPECT_EQ(newest.label + "|" + newest.changes, expected);
    }
    ASSERT_EQ(HistoryCount(), static_cast<int>(kept.size()));
    for (size_t i = 0; i < kept.size(); ++i) {
        const TableCopy before = CopyOfTable();
        const std::string label = HistoryEntryAt(HistoryCount() - i).label;
        History({}, HistoryCount() - static_cast<int>(i));
        EXPECT_TRUE(Now() == kept[i]) << label;
        EXPECT_EQ(HistoryEntryAt(1).label, i + 1 == kept.size() ? "Undo" : "Back to: " + label);
        Command(CmdUndo);
        EXPECT_TRUE(TableKept(before)) << label;
    }
}

// Moving the selection shows each entry and plays it; Cancel puts everything back, bit for bit.
TEST(History, MovingTheSelectionShowsEntriesAndCancelPutsAllBack) {
    FreshWindow();
    for (CommandId id : {CmdSaw, CmdViewPadwave, CmdGenerate, CmdViewAdditive}) Command(id);
    DragSlider(1, 205);
    Command(CmdViewWavetable);
    const std::string before = Now();
    const std::vector<float> undo(UndoSnapshot, UndoSnapshot + TableSamples);
    const int publishes = HeadlessAuditionPublishes, invalidations = HeadlessInvalidations;
    History({4, 2, 3}, std::nullopt);
    EXPECT_EQ(HeadlessAuditionPublishes - publishes, 3 + 1);
    EXPECT_GE(HeadlessInvalidations - invalidations, 3);
    EXPECT_TRUE(Now() == before);
    EXPECT_TRUE(std::equal(undo.begin(), undo.end(), UndoSnapshot));
    EXPECT_TRUE(
        AuditionMaterialMatches(LiveAuditionMaterial(), Wavetable, AdditiveFrame, PadwaveBuffer));
    EXPECT_EQ(HeadlessHistoryDialogs.back().back().label, "Start");
}

// 1000 one-frame edits stay under 8 MB; past the limits the oldest entries go first.
TEST(History, SharesFramesAndDropsTheOldestPastTheLimits) {
    FreshWindow();
    const size_t start = HistoryBytes();
    for (int i = 1; i <= 1000; ++i) {
        FrameAt(i % FrameCount)[SamplesPerFrame - 1] = static_cast<float>(i);
        ASSERT_TRUE(RecordHistory(std::to_string(i)));
    }
    EXPECT_LT(HistoryBytes() - start, size_t{8} << 20);
    EXPECT_GT(HistoryBytes() - start, 1000 * sizeof(float) * SamplesPerFrame); // each frame counted
    ASSERT_EQ(HistoryCount(), 1000);
    EXPECT_EQ(HistoryEntryAt(1000).label, "1");
    HistoryMaxBytes = HistoryBytes() + 3 * TableSamples * sizeof(float);
    for (int i = 0; i < 6; ++i)
        std::fill_n(Wavetable, TableSamples, -i), RecordHistory("table " + std::to_string(i));
    EXPECT_LE(HistoryBytes(), HistoryMaxBytes);
    EXPECT_EQ(HistoryEntryAt(1).label, "table 5");
    EXPECT_EQ(HistoryEntryAt(HistoryCount()).label, std::to_string(1007 - HistoryCount()));
    HistoryMaxBytes = size_t{256} << 20;
}

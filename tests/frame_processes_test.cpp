#include "tests/frame_content.h"

namespace {

constexpr int NoAnswer = INT_MIN;

// Runs `id`, answering its number dialog with `typed` unless that is NoAnswer.
void RunAnswered(CommandId id, int typed) {
    if (typed != NoAnswer) HeadlessDialogAnswers.push_back(std::to_string(typed));
    Command(id);
}

// What `id`, answered with `typed`, does to bins 0 .. 512 of a frame.
void Change(CommandId id, int typed, DoubleSpectrum& bins) {
    if (id == CmdRemoveDc) bins[0] = 0.0;
    if (id == CmdLowPass) std::fill(bins.begin() + typed + 1, bins.end(), 0.0);
    if (id == CmdHighPass) std::fill(bins.begin(), bins.begin() + typed, 0.0);
    if (id == CmdAlignPhase) { // bin k turns by -k theta: bin 1 ends at a sine's phase, -pi / 2
        const double theta = std::arg(bins[1]) + M_PI / 2;
        for (size_t k = 1; k < bins.size(); ++k) bins[k] *= std::polar(1.0, -theta * k);
    }
    if (id == CmdHarmonicShift) { // Nyquist is no harmonic 1 .. 511 and goes with every shift
        DoubleSpectrum shifted(bins.size());
        shifted[0] = bins[0];
        for (int k = std::max(1, 1 - typed); k <= std::min(511, 511 - typed); ++k)
            shifted[k + typed] = bins[k];
        bins = shifted;
    }
}

} // namespace

// Frame 7 in the Waveform view, frames 3..10 in the Wavetable view with the knobs either way
// round: each frame of the range becomes its old samples through the double DFT changed as
// Change says (within 1e-5), the others keep their bits, and Undo brings them back.
TEST(FrameProcesses, ChangeTheSpectrumOfEachFrameOfTheRange) {
    const std::pair<CommandId, std::vector<int>> cases[] = {
        {CmdRemoveDc, {NoAnswer}},
        {CmdAlignPhase, {NoAnswer}},
        {CmdLowPass, {1, 40, 511}},
        {CmdHighPass, {1, 40, 511}},
        {CmdHarmonicShift, {0, 3, -3, 510, -511}}};
    for (const auto& [id, answers] : cases) {
        for (int typed : answers) {
            FreshEditor();
            FillTableWithPartials();
            const TableCopy before = CopyOfTable();
            for (auto [view, wave, offset] :
                 {std::tuple{ViewWaveform, 7, 3}, {ViewWavetable, 3, 10}, {ViewWavetable, 10, 3}}) {
                SCOPED_TRACE(testing::Message() << "command " << id << " " << typed << " knobs "
                                                << wave << ", " << offset);
                ViewMode = view;
                CurrentFrame = wave;
                OffsetFrame = offset;
                RunAnswered(id, typed);
                for (int j = 0; j < FrameCount; ++j) {
                    if (j < (view == ViewWaveform ? 7 : 3) || j > (view == ViewWaveform ? 7 : 10)) {
                        EXPECT_TRUE(FrameKept(before, j)) << "frame " << j;
                        continue;
                    }
                    const float* old = before.data() + j * SamplesPerFrame;
                    DoubleSpectrum bins = DoubleDft(ToDouble(old, SamplesPerFrame), 513);
                    Change(id, typed, bins);
                    EXPECT_TRUE(FrameNear(j, DoubleInverseDft(bins, SamplesPerFrame), 1e-5));
                }
                Command(CmdUndo);
                EXPECT_TRUE(TableKept(before));
            }
        }
    }
}

// A NaN or an infinity gives a frame no spectrum and no mean: frames 0 and 1 stay as they were
// rather than turning NaN everywhere, the finite frame 2 is processed. Align Phase leaves frame 3,
// whose fundamental lies just under 100 dB below its strongest bin, and turns frame 4, just over.
// Normalize Each keeps Normalize's rules in every frame: a NaN becomes 0, an infinity the peak.
TEST(FrameProcesses, FramesWithNaNOrInfinityStayAsTheyAre) {
    const std::pair<CommandId, int> processes[] = {{CmdRemoveDc, NoAnswer},
                                                   {CmdAlignPhase, NoAnswer},
                                                   {CmdLowPass, 3},
                                                   {CmdWaveFold, 2},
                                                   {CmdNormalizeEach, NoAnswer}};
    for (auto [id, typed] : processes) {
        FreshEditor();
        FillTableWithPartials();
        FrameAt(0)[9] = NAN;
        FrameAt(1)[9] = -INFINITY;
        for (int n = 0; n < SamplesPerFrame; ++n) {
            const double phase = 2.0 * M_PI * n / SamplesPerFrame;
            for (int j : {3, 4})
                FrameAt(j)[n] = static_cast<float>((j == 3 ? 0.99e-5 : 1.01e-5) * std::cos(phase) +
                                                   std::cos(3 * phase));
        }
        const TableCopy before = CopyOfTable();
        WavetableKnobs(0, 4);
        RunAnswered(id, typed);
        EXPECT_FALSE(FrameKept(before, 2)) << id;
        EXPECT_TRUE(id != CmdAlignPhase || (FrameKept(before, 3) && !FrameKept(before, 4)));
        if (id != CmdNormalizeEach) {
            EXPECT_TRUE(FrameKept(before, 0) && FrameKept(before, 1)) << id;
            continue;
        }
        EXPECT_EQ(FrameAt(0)[9], 0.0f);
        EXPECT_EQ(FrameAt(1)[9], -0.35355678f);
        EXPECT_EQ(FrameAt(1)[10], 0.0f);
        EXPECT_FLOAT_EQ(FrameAt(3)[0], 0.35355678f);
    }
}

#include "tests/frame_content.h"
#include "tests/test_support.h"

namespace {

using Reference = std::function<DoubleFrame(const DoubleFrame&)>;

// A menu command, or one that asks for a number and is answered with `typed`.
std::function<void()> Menu(CommandId id) {
    return [id] { Command(id); };
}
std::function<void()> Answered(CommandId id, int typed) {
    return [id, typed] {
        HeadlessDialogAnswers.push_back(std::to_string(typed));
        Command(id);
    };
}

// The process through the double DFT: `change` alters bins 0 .. 512.
Reference ThroughSpectrum(const std::function<void(DoubleSpectrum&)>& change) {
    return [change](const DoubleFrame& x) {
        DoubleSpectrum bins = DoubleDft(x, SamplesPerFrame / 2 + 1);
        change(bins);
        return DoubleInverseDft(bins, SamplesPerFrame);
    };
}

// Frame 7 in the Waveform view (the Offset knob elsewhere), frames 3..10 in the
// Wavetable view with the knobs either way round: each frame of the range is the
// reference of its old samples within 1e-5, every other frame keeps its bits,
// and Undo brings the whole table back bit for bit.
void ExpectEachFrameMatches(const std::function<void()>& command, const Reference& reference) {
    FreshEditor();
    FillTableWithPartials();
    const TableCopy before = CopyOfTable();
    for (auto [view, wave, offset] :
         {std::tuple{ViewWaveform, 7, 3}, {ViewWavetable, 3, 10}, {ViewWavetable, 10, 3}}) {
        SCOPED_TRACE(testing::Message() << "view " << view << " knobs " << wave << ", " << offset);
        ViewMode = view;
        CurrentFrame = wave;
        OffsetFrame = offset;
        command();
        const int lo = view == ViewWaveform ? wave : std::min(wave, offset);
        const int hi = view == ViewWaveform ? wave : std::max(wave, offset);
        for (int j = 0; j < FrameCount; ++j) {
            if (j < lo || j > hi)
                EXPECT_TRUE(FrameKept(before, j)) << "frame " << j;
            else
                EXPECT_TRUE(FrameNear(
                    j, reference(ToDouble(before.data() + j * SamplesPerFrame, SamplesPerFrame)),
                    1e-5));
        }
        Command(CmdUndo);
        EXPECT_TRUE(TableKept(before));
    }
}

} // namespace

// Remove DC subtracts each frame's mean, Normalize Each scales every frame to its own peak.
TEST(FrameProcesses, RemoveDcAndNormalizeEachWorkFrameByFrame) {
    ExpectEachFrameMatches(Menu(CmdRemoveDc), [](DoubleFrame x) {
        double mean = 0.0;
        for (double s : x) mean += s / SamplesPerFrame;
        for (double& s : x) s -= mean;
        return x;
    });
    ExpectEachFrameMatches(Menu(CmdNormalizeEach), [](DoubleFrame x) {
        double peak = 0.0;
        for (double s : x) peak = std::max(peak, std::fabs(s));
        for (double& s : x) s *= 0.5 / 1.4142 / peak;
        return x;
    });
}

// A frame with an infinity, one with a NaN and a silent one, as Normalize treats them.
TEST(FrameProcesses, NormalizeEachKeepsNormalizesRulesForEveryFrame) {
    FreshEditor();
    WavetableKnobs(0, 2);
    FrameAt(0)[5] = INFINITY;
    FrameAt(0)[6] = 3.0f;
    FrameAt(1)[0] = NAN;
    FrameAt(1)[1] = -0.25f;
    Command(CmdNormalizeEach);
    EXPECT_EQ(FrameAt(0)[5], 0.35355678f);
    EXPECT_EQ(FrameAt(0)[6], 0.0f);
    EXPECT_EQ(FrameAt(1)[0], 0.0f);
    EXPECT_EQ(FrameAt(1)[1], -0.35355678f);
    EXPECT_TRUE(Silent(2));
}

// Bin k turns by -k theta so that bin 1 ends at the phase of sin(2 pi n / 1024), -pi / 2.
TEST(FrameProcesses, AlignPhaseRotatesTheFundamentalToASinesPhase) {
    ExpectEachFrameMatches(Menu(CmdAlignPhase), ThroughSpectrum([](DoubleSpectrum& bins) {
                               const double theta = std::arg(bins[1]) + M_PI / 2;
                               for (size_t k = 1; k < bins.size(); ++k)
                                   bins[k] *= std::polar(1.0, -theta * k);
                           }));
}

// A fundamental just under 100 dB below the strongest bin leaves its frame bit for bit, just
// above it is turned.
TEST(FrameProcesses, AlignPhaseTurnsFundamentalsDownTo100Decibels) {
    FreshEditor();
    for (int n = 0; n < SamplesPerFrame; ++n) {
        const double phase = 2.0 * M_PI * n / SamplesPerFrame;
        FrameAt(0)[n] = static_cast<float>(0.99e-5 * std::cos(phase) + std::cos(3 * phase));
        FrameAt(1)[n] = static_cast<float>(1.01e-5 * std::cos(phase) + std::cos(3 * phase));
    }
    const TableCopy before = CopyOfTable();
    WavetableKnobs(0, 1);
    Command(CmdAlignPhase);
    EXPECT_TRUE(FrameKept(before, 0));
    EXPECT_FALSE(FrameKept(before, 1));
}

// Low pass keeps DC and bins up to the limit, high pass zeroes DC and the bins below it.
TEST(FrameProcesses, FiltersKeepTheirSideOfTheLimit) {
    for (int limit : {1, 40, 511}) {
        SCOPED_TRACE(testing::Message() << "limit " << limit);
        ExpectEachFrameMatches(Answered(CmdLowPass, limit),
                               ThroughSpectrum([limit](DoubleSpectrum& bins) {
                                   std::fill(bins.begin() + limit + 1, bins.end(), 0.0);
                               }));
        ExpectEachFrameMatches(Answered(CmdHighPass, limit),
                               ThroughSpectrum([limit](DoubleSpectrum& bins) {
                                   std::fill(bins.begin(), bins.begin() + limit, 0.0);
                               }));
    }
}

// The Nyquist bin is no harmonic 1 .. 511 and goes with every shift.
TEST(FrameProcesses, HarmonicShiftMovesHarmonicsAndDropsWhatLeaves) {
    for (int shift : {0, 3, -3, 510, -511}) {
        SCOPED_TRACE(testing::Message() << "by " << shift);
        ExpectEachFrameMatches(Answered(CmdHarmonicShift, shift),
                               ThroughSpectrum([shift](DoubleSpectrum& bins) {
                                   DoubleSpectrum shifted(bins.size());
                                   shifted[0] = bins[0];
                                   for (int k = 1; k <= 511; ++k)
                                       if (k + shift >= 1 && k + shift <= 511)
                                           shifted[k + shift] = bins[k];
                                   bins = shifted;
                               }));
    }
}

// A NaN or an infinity gives a frame no spectrum and no mean: the frame stays as it was rather
// than becoming NaN everywhere; the finite frame next to it is processed.
TEST(FrameProcesses, FramesWithNaNOrInfinityStayAsTheyAre) {
    const std::vector<std::function<void()>> processes = {
        Menu(CmdRemoveDc), Menu(CmdAlignPhase), Answered(CmdLowPass, 3), Answered(CmdWaveFold, 2)};
    for (const auto& process : processes) {
        FreshEditor();
        FillTableWithPartials();
        FrameAt(0)[9] = NAN;
        FrameAt(1)[9] = -INFINITY;
        const TableCopy before = CopyOfTable();
        WavetableKnobs(0, 2);
        process();
        EXPECT_TRUE(FrameKept(before, 0) && FrameKept(before, 1));
        EXPECT_FALSE(FrameKept(before, 2));
    }
}

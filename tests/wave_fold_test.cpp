#include "tests/frame_content.h"

namespace {

// The fold of a sine of level p at `gain`, computed at 65536 points and cut to harmonics
// 0 .. 511, read at 1024 points and scaled back to the peak p.
DoubleFrame FineFoldedSine(double p, double gain) {
    const int fine = 65536;
    DoubleFrame folded(fine);
    for (int m = 0; m < fine; ++m) {
        const double x = p * std::sin(2.0 * M_PI * m / fine);
        folded[m] = p * (2.0 / M_PI) * std::asin(std::sin(M_PI * (gain * x / p) / 2.0));
    }
    DoubleSpectrum bins = DoubleDft(folded, 512);
    for (auto& bin : bins) bin *= static_cast<double>(SamplesPerFrame) / fine;
    DoubleFrame frame = DoubleInverseDft(bins, SamplesPerFrame);
    double peak = 0.0;
    for (double s : frame) peak = std::max(peak, std::fabs(s));
    for (double& s : frame) s *= p / peak;
    return frame;
}

} // namespace

// A sine frame at gains 1, 2.5 and 16 against the finely computed fold, in both views (the
// plain fold of the 1024 samples, whose overtones above 511 alias, misses it by over 1e-4).
TEST(WaveFold, EqualsTheFoldComputedFinelyAndCutToHarmonic511) {
    const double p = 0.35;
    for (double gain : {1.0, 2.5, 16.0}) {
        SCOPED_TRACE(testing::Message() << "gain " << gain);
        const DoubleFrame expected = FineFoldedSine(p, gain);
        for (int32_t view : {ViewWaveform, ViewWavetable}) {
            FreshEditor();
            for (int j = 5; j <= 6; ++j)
                for (int n = 0; n < SamplesPerFrame; ++n)
                    FrameAt(j)[n] = static_cast<float>(p * std::sin(2.0 * M_PI * n / 1024));
            const TableCopy before = CopyOfTable();
            ViewMode = view;
            CurrentFrame = 6;
            OffsetFrame = 5;
            HeadlessDialogAnswers.push_back(std::to_string(gain));
            Command(CmdWaveFold);
            EXPECT_TRUE(FrameNear(6, expected, 1e-4));
            EXPECT_NEAR(*std::max_element(FrameAt(6), FrameAt(7)), p, 1e-6);
            if (view == ViewWavetable)
                EXPECT_TRUE(FrameNear(5, expected, 1e-4));
            else
                EXPECT_TRUE(FrameKept(before, 5));
            Command(CmdUndo);
            EXPECT_TRUE(TableKept(before));
        }
    }
}

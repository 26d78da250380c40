#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "core/command_ids.h"
#include "synth/additive.h"
#include "synth/generators.h"
#include "bench/literal_synth.h"
#include "tests/test_support.h"

namespace {

void SetLevels(std::initializer_list<int32_t> leading, int32_t rest) {
    std::fill(std::begin(Harmonics), std::end(Harmonics), rest);
    std::copy(leading.begin(), leading.end(), Harmonics);
}

std::vector<int32_t> Levels() { return {std::begin(Harmonics), std::end(Harmonics)}; }

float Peak(const float* samples, int count) {
    float m = 0.0f;
    for (int i = 0; i < count; ++i) m = std::max(m, std::fabs(samples[i]));
    return m;
}

bool SameBits(const float* a, const float* b, int count) {
    return std::memcmp(a, b, sizeof(float) * count) == 0;
}

void EnterAdditiveView() {
    FreshEditor();
    Command(CmdViewAdditive);
}

}  // namespace

TEST(SynthesizeAdditive, DefaultLevelsGiveTheSineFrameAndNegativeNegatesIt) {
    FreshEditor();
    GenerateSine();
    Command(CmdViewAdditive);
    EXPECT_TRUE(SameBits(AdditiveFrame, FrameAt(0), SamplesPerFrame));
    EXPECT_NEAR(AdditiveFrame[256], -0.353557f, 1e-6f);
    EXPECT_NEAR(AdditiveFrame[768], 0.353557f, 1e-6f);

    const std::vector<float> positive(AdditiveFrame, AdditiveFrame + SamplesPerFrame);
    Command(CmdNegative);
    EXPECT_EQ(Polarity, 0);
    for (int n = 0; n < SamplesPerFrame; ++n) ASSERT_EQ(AdditiveFrame[n], -positive[n]) << n;
    Command(CmdPositive);
    EXPECT_TRUE(SameBits(AdditiveFrame, positive.data(), SamplesPerFrame));
}

TEST(SynthesizeAdditive, SilenceSingleHarmonicsAndTheCarriedPhase) {
    FreshEditor();
    SetLevels({}, 100);
    SynthesizeAdditive();
    EXPECT_EQ(Peak(AdditiveFrame, SamplesPerFrame), 0.0f);

    // Harmonic 2 alone: two cycles, full normalized peak.
    SetLevels({100, 0}, 100);
    SynthesizeAdditive();
    EXPECT_NEAR(Peak(AdditiveFrame, SamplesPerFrame), 0.353557f, 1e-6f);
    EXPECT_LT(AdditiveFrame[128], -0.35f);
    EXPECT_GT(AdditiveFrame[384], 0.35f);
    EXPECT_LT(AdditiveFrame[640], -0.35f);

    // Each harmonic starts where the previous one ended.
    SetLevels({0, 0, 0, 0}, 100);
    SynthesizeAdditive();
    EXPECT_NEAR(AdditiveFrame[0], -0.00194f, 1e-5f);
    EXPECT_NEAR(AdditiveFrame[100], -0.33835f, 1e-5f);

    // A level of 150 weighs its harmonic -0.5: harmonic 1 inverted at half
    // amplitude normalizes to the negated sine.
    GenerateSine();
    SetLevels({150}, 100);
    SynthesizeAdditive();
    for (int n = 0; n < SamplesPerFrame; n += 64) EXPECT_NEAR(AdditiveFrame[n], -FrameAt(0)[n], 1e-6f);
}

TEST(SynthesizeAdditive, MatchesTheLiteralLoopBitForBit) {
    FreshEditor();
    const int32_t big = std::numeric_limits<int32_t>::max();
    const int32_t small = std::numeric_limits<int32_t>::min();
    std::vector<std::array<int32_t, HarmonicCount>> sets;
    std::array<int32_t, HarmonicCount> levels{};
    sets.push_back(levels);  // every harmonic full
    for (int i = 0; i < HarmonicCount; ++i) levels[i] = (i * 37) % 101;
    sets.push_back(levels);
    for (int i = 0; i < HarmonicCount; ++i) levels[i] = i % 3 == 0 ? 100 : i * 7 - 40;
    sets.push_back(levels);
    levels.fill(100);
    levels[0] = big;
    levels[5] = small;
    levels[9] = 150;
    sets.push_back(levels);
    levels.fill(100);
    levels[30] = 0;
    levels[31] = 99;
    sets.push_back(levels);
    for (const auto& set : sets) {
        for (int32_t polarity : {1, 0}) {
            std::copy(set.begin(), set.end(), Harmonics);
            Polarity = polarity;
            LiteralSynthesizeAdditive();
            const std::vector<float> literal(AdditiveFrame, AdditiveFrame + SamplesPerFrame);
            SynthesizeAdditive();
            ASSERT_TRUE(SameBits(AdditiveFrame, literal.data(), SamplesPerFrame)) << set[0] << " " << polarity;
        }
    }
}

TEST(AdditiveEdits, AmplifyAttenuateMixReverseInvert) {
    EnterAdditiveView();
    SetLevels({5, 100}, 100);
    Command(CmdAmplify);
    EXPECT_EQ(Harmonics[0], 0);
    EXPECT_EQ(Harmonics[1], 100);
    EXPECT_EQ(HarmonicSnapshot[0], 5);  // saved before the edit

    SetLevels({95, 0}, 100);
    Command(CmdAttenuate);
    EXPECT_EQ(Harmonics[0], 100);
    EXPECT_EQ(Harmonics[1], 10);
    Command(CmdAmplify);
    EXPECT_EQ(Harmonics[0], 100);
    EXPECT_EQ(Harmonics[1], 0);

    // Loaded levels outside 0..100 are clamped by Amplify and Attenuate.
    SetLevels({150, -7}, 100);
    Command(CmdAmplify);
    EXPECT_EQ(Harmonics[0], 100);
    EXPECT_EQ(Harmonics[1], 0);
    SetLevels({150, -7}, 100);
    Command(CmdAttenuate);
    EXPECT_EQ(Harmonics[0], 100);
    EXPECT_EQ(Harmonics[1], 3);

    // Paste Mix averages toward zero and keeps the snapshot.
    SetLevels({0, -5}, 100);
    SaveHarmonicSnapshot();
    SetLevels({55, 0}, 100);
    Command(CmdPasteMix);
    EXPECT_EQ(Harmonics[0], 27);
    EXPECT_EQ(Harmonics[1], -2);
    EXPECT_EQ(HarmonicSnapshot[0], 0);

    for (int i = 0; i < HarmonicCount; ++i) Harmonics[i] = i * 3;
    const std::vector<int32_t> before = Levels();
    Command(CmdReverse);
    EXPECT_EQ(Harmonics[0], 93);
    EXPECT_EQ(Harmonics[31], 0);
    Command(CmdReverse);
    EXPECT_EQ(Levels(), before);

    Command(CmdClear);
    Command(CmdReverse);
    EXPECT_EQ(Harmonics[31], 0);
    EXPECT_EQ(std::count(std::begin(Harmonics), std::end(Harmonics), 100), 31);

    // Invert silences a full harmonic for good; levels of 100 and above stay.
    Command(CmdClear);
    Harmonics[2] = 150;
    Harmonics[3] = 30;
    Command(CmdInvert);
    EXPECT_EQ(Harmonics[0], 100);
    EXPECT_EQ(Harmonics[2], 150);
    EXPECT_EQ(Harmonics[3], 70);
    Command(CmdInvert);
    EXPECT_EQ(Harmonics[0], 100);
    EXPECT_EQ(Harmonics[3], 30);
}

TEST(AdditiveEdits, ExtremeLoadedLevelsStayDefined) {
    EnterAdditiveView();
    const int32_t big = std::numeric_limits<int32_t>::max();
    const int32_t small = std::numeric_limits<int32_t>::min();
    SetLevels({small, big, small + 5, -1}, 100);
    std::copy(Harmonics, Harmonics + HarmonicCount, HarmonicSnapshot);
    HarmonicSnapshot[0] = small;
    HarmonicSnapshot[1] = big;
    Command(CmdPasteMix);
    EXPECT_EQ(Harmonics[0], small);
    EXPECT_EQ(Harmonics[1], big);

    SetLevels({small, big, small + 5, -1}, 100);
    Command(CmdInvert);
    EXPECT_EQ(Harmonics[0], big);
    EXPECT_EQ(Harmonics[1], big);
    EXPECT_EQ(Harmonics[2], big);
    EXPECT_EQ(Harmonics[3], 101);
    for (float s : AdditiveFrame) ASSERT_TRUE(std::isfinite(s));

    SetLevels({small, big}, 100);
    Command(CmdAmplify);
    EXPECT_EQ(Harmonics[0], 0);
    EXPECT_EQ(Harmonics[1], 100);
    SetLevels({small, big}, 100);
    Command(CmdAttenuate);
    EXPECT_EQ(Harmonics[0], 0);
    EXPECT_EQ(Harmonics[1], 100);
}

TEST(AdditiveEdits, UndoPasteCutAndClearUseTheSavedLevels) {
    EnterAdditiveView();
    const std::vector<int32_t> defaults = Levels();
    const std::vector<float> sine(AdditiveFrame, AdditiveFrame + SamplesPerFrame);
    Command(CmdInvert);
    EXPECT_EQ(std::count(std::begin(Harmonics), std::end(Harmonics), 100), 32);
    EXPECT_EQ(Peak(AdditiveFrame, SamplesPerFrame), 0.0f);
    Command(CmdUndo);
    EXPECT_EQ(Levels(), defaults);
    EXPECT_TRUE(SameBits(AdditiveFrame, sine.data(), SamplesPerFrame));

    // Cut and Clear reset the levels but not the snapshot: Undo goes back to
    // the last saved levels, not to those the Cut removed.
    SetLevels({40, 50}, 100);
    Command(CmdAmplify);  // saves 40, 50
    SetLevels({1, 2, 3}, 100);
    for (uint16_t id : {CmdCut, CmdClear}) {
        Command(id);
        EXPECT_EQ(Levels(), defaults);
        EXPECT_EQ(HarmonicSnapshot[0], 40);
        Command(id == CmdCut ? CmdPaste : CmdUndo);
        EXPECT_EQ(Harmonics[0], 40);
        EXPECT_EQ(Harmonics[1], 50);
        EXPECT_EQ(Harmonics[2], 100);
    }
    // None of this touched the table or its undo snapshot.
    for (float s : Wavetable) ASSERT_EQ(s, 0.0f);
}

TEST(AdditiveEdits, CopyThenPasteInTheWaveformViewAndNoRefresh) {
    EnterAdditiveView();
    SetLevels({0, 30, 100, 60}, 100);
    Command(CmdPositive);
    const int invalidations = HeadlessInvalidations;
    const int builds = HeadlessMenuBarBuilds;
    Command(CmdCopy);
    EXPECT_EQ(HeadlessInvalidations, invalidations);
    EXPECT_EQ(HeadlessMenuBarBuilds, builds);
    EXPECT_EQ(HarmonicSnapshot[1], 30);
    EXPECT_TRUE(SameBits(FrameClipboard, AdditiveFrame, SamplesPerFrame));

    Command(CmdViewWaveform);
    CurrentFrame = 42;
    Command(CmdPaste);
    EXPECT_TRUE(SameBits(FrameAt(42), AdditiveFrame, SamplesPerFrame));

    // Outside the Additive view the polarity commands do nothing.
    Command(CmdNegative);
    EXPECT_EQ(Polarity, 1);
}

TEST(AdditiveEdits, NewDocumentRestoresTheDefaultLevels) {
    EnterAdditiveView();
    SetLevels({7, 8, 9}, 3);
    Polarity = 0;
    Command(CmdAmplify);
    Command(CmdNew);
    EXPECT_EQ(Harmonics[0], 0);
    EXPECT_EQ(std::count(std::begin(Harmonics), std::end(Harmonics), 100), 31);
    EXPECT_EQ(std::vector<int32_t>(std::begin(HarmonicSnapshot), std::end(HarmonicSnapshot)), Levels());
    EXPECT_EQ(Polarity, 1);
}

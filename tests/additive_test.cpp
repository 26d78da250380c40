#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "core/command_ids.h"
#include "synth/additive.h"
#include "synth/generators.h"
#include "tests/reference/literal_synth.h"
#include "tests/test_support.h"

namespace {

using Levels = std::vector<int32_t>;

void SetLevels(std::initializer_list<int32_t> leading) {
    std::fill(std::begin(Harmonics), std::end(Harmonics), 100);
    std::copy(leading.begin(), leading.end(), Harmonics);
    SynthesizeAdditive();
}

Levels FirstLevels(int count = HarmonicCount) { return {Harmonics, Harmonics + count}; }

std::vector<float> Frame() { return {AdditiveFrame, AdditiveFrame + SamplesPerFrame}; }

}  // namespace

TEST(SynthesizeAdditive, WorkedFrames) {
    FreshEditor();
    GenerateSine();
    Command(CmdViewAdditive);
    EXPECT_TRUE(std::equal(AdditiveFrame, AdditiveFrame + SamplesPerFrame, FrameAt(0)));
    const std::vector<float> sine = Frame();
    Command(CmdNegative);
    for (int n = 0; n < SamplesPerFrame; ++n) ASSERT_EQ(AdditiveFrame[n], -sine[n]) << n;

    Command(CmdPositive);
    SetLevels({100, 0});  // harmonic 2 alone: two cycles at the full peak
    for (int n : {384, 896}) EXPECT_NEAR(AdditiveFrame[n], 0.353557f, 1e-6f);
    SetLevels({0, 0, 0, 0});  // each harmonic starts at the phase where the last one ended
    EXPECT_NEAR(AdditiveFrame[0], -0.00194f, 1e-5f);
    EXPECT_NEAR(AdditiveFrame[100], -0.33835f, 1e-5f);
    SetLevels({150});  // weight -0.5: normalized, the negated sine
    for (int n = 0; n < SamplesPerFrame; n += 64) EXPECT_NEAR(AdditiveFrame[n], -sine[n], 1e-6f);
}

// All full; a spread with silent and negative levels; mostly silent with
// extremes and the faintest sounding level; each in both polarities.
TEST(SynthesizeAdditive, SameBitsAsTheLiteralLoop) {
    FreshEditor();
    Levels spread(HarmonicCount, 100);
    for (int i = 0; i < HarmonicCount; ++i)
        if (i % 3 != 0) spread[i] = i * 37 % 101 - 20;
    Levels extremes(HarmonicCount, 100);
    extremes[0] = INT_MAX;
    extremes[5] = INT_MIN;
    extremes[12] = 99;
    extremes[30] = 0;
    for (const Levels& levels : {Levels(HarmonicCount, 0), spread, extremes}) {
        for (int32_t polarity : {0, 1}) {
            std::copy(levels.begin(), levels.end(), Harmonics);
            Polarity = polarity;
            LiteralSynthesizeAdditive();
            const std::vector<float> literal = Frame();
            SynthesizeAdditive();
            ASSERT_EQ(std::memcmp(AdditiveFrame, literal.data(), sizeof AdditiveFrame), 0) << levels[1] << " " << polarity;
        }
    }
}

TEST(AdditiveEdits, WorkedLevelsUndoCutClearAndCopy) {
    FreshEditor();
    Command(CmdViewAdditive);
    const Levels defaults = FirstLevels();
    const std::vector<float> sine = Frame();
    Command(CmdInvert);  // every level 100 now: silence
    EXPECT_EQ(Frame(), std::vector<float>(SamplesPerFrame, 0.0f));
    Command(CmdUndo);
    EXPECT_EQ(FirstLevels(), defaults);
    EXPECT_EQ(Frame(), sine);

    // {command, two leading levels before, after}; Paste Mix mixes with the
    // saved 0, INT_MAX. Invert silences a full harmonic for good.
    const int32_t edits[][5] = {
        {CmdAmplify, 5, 100, 0, 100},           {CmdAttenuate, 95, 0, 100, 10},
        {CmdAmplify, 100, 10, 100, 0},          {CmdAmplify, 150, -7, 100, 0},
        {CmdAttenuate, 150, -7, 100, 3},        {CmdAmplify, INT_MIN, INT_MAX, 0, 100},
        {CmdAttenuate, INT_MIN, INT_MAX, 0, 100}, {CmdInvert, 0, 30, 100, 70},
        {CmdInvert, 100, 70, 100, 30},          {CmdInvert, 150, INT_MAX, 150, INT_MAX},
        {CmdInvert, INT_MIN, -1, INT_MAX, 101}, {CmdPasteMix, 55, INT_MAX, 27, INT_MAX},
        {CmdPasteMix, -5, 0, -2, INT_MAX / 2}};
    for (const auto& e : edits) {
        SetLevels({e[1], e[2]});
        HarmonicSnapshot[0] = 0;
        HarmonicSnapshot[1] = INT_MAX;
        Command(static_cast<uint16_t>(e[0]));
        EXPECT_EQ(FirstLevels(2), (Levels{e[3], e[4]})) << e[0] << " " << e[1];
        EXPECT_EQ(HarmonicSnapshot[0], e[0] == CmdPasteMix ? 0 : e[1]);  // edits save first
    }
    for (int i = 0; i < HarmonicCount; ++i) Harmonics[i] = i * 3;
    const Levels ramp = FirstLevels();
    Command(CmdReverse);
    EXPECT_EQ(FirstLevels(), Levels(ramp.rbegin(), ramp.rend()));
    Command(CmdReverse);
    EXPECT_EQ(FirstLevels(), ramp);

    // Cut and Clear reset the levels, not the snapshot that Paste and Undo restore.
    SetLevels({40, 50});
    Command(CmdAmplify);
    SetLevels({1, 2, 3});
    for (uint16_t id : {CmdCut, CmdClear}) {
        Command(id);
        EXPECT_EQ(FirstLevels(), defaults);
        Command(id == CmdCut ? CmdPaste : CmdUndo);
        EXPECT_EQ(FirstLevels(3), (Levels{40, 50, 100})) << id;
    }

    Command(CmdCopy);  // the Waveform view pastes the additive frame
    Command(CmdViewWaveform);
    CurrentFrame = 42;
    Command(CmdPaste);
    EXPECT_TRUE(std::equal(AdditiveFrame, AdditiveFrame + SamplesPerFrame, FrameAt(42)));
}

#include "platform/common/number_answer.h"
#include "tests/test_support.h"

namespace {

// A table whose frames all hold harmonics 1 and 3 under the knobs 0 .. 99.
void TwoHarmonicTable() {
    FreshEditor();
    for (int i = 0; i < TableSamples; ++i) {
        const double phase = 2.0 * M_PI * (i % SamplesPerFrame) / SamplesPerFrame;
        Wavetable[i] = static_cast<float>(0.3 * std::sin(phase) + 0.1 * std::sin(3 * phase));
    }
    WavetableKnobs(0, FrameCount - 1);
}

using Answers = std::vector<std::optional<std::string>>;
void Answer(const Answers& answers) {
    HeadlessDialogAnswers.assign(answers.begin(), answers.end());
}

} // namespace

// Refused answers show the range and the dialog reads the next; the first good one runs.
TEST(NumberDialog, RefusesBadAnswersAndOffersTheLastValueTaken) {
    TwoHarmonicTable();
    Answer({"0", "512", "2.5", "abc", "", "40abc", " 2 "});
    Command(CmdLowPass);
    ASSERT_EQ(HeadlessNumberDialogs.size(), 1u);
    EXPECT_EQ(HeadlessNumberDialogs[0].question.question, "Keep harmonics up to:");
    EXPECT_EQ(HeadlessNumberDialogs[0].refusals,
              std::vector<std::string>(6, "Enter a whole number from 1 to 511."));
    EXPECT_TRUE(HeadlessDialogAnswers.empty());
    EXPECT_NEAR(FrameAt(50)[256], 0.3f, 1e-5f); // harmonic 3 is gone, harmonic 1 stays
    Answer({"nan", "inf", "16.5", "0.5", "2.5"});
    Command(CmdWaveFold);
    ASSERT_EQ(HeadlessNumberDialogs.size(), 2u);
    EXPECT_EQ(HeadlessNumberDialogs[1].refusals,
              std::vector<std::string>(4, "Enter a number from 1 to 16."));
    EXPECT_NE(FrameAt(0)[100], UndoSnapshot[100]);
    // Each command offers its own last value, through New and refusals.
    Answer({"-7"});
    Command(CmdHarmonicShift);
    Answer({"300"});
    Command(CmdHighPass);
    Command(CmdNew);
    Command(CmdViewWavetable);
    Answer({"600", std::nullopt});
    Command(CmdHarmonicShift);
    Answer({std::nullopt});
    Command(CmdHarmonicShift);
    Command(CmdHighPass);
    ASSERT_EQ(HeadlessNumberDialogs.size(), 7u);
    EXPECT_EQ(HeadlessNumberDialogs[4].offered, "-7");
    EXPECT_EQ(HeadlessNumberDialogs[5].offered, "-7");
    EXPECT_EQ(HeadlessNumberDialogs[6].offered, "300");
}

// Cancel, an empty queue, or a refusal then Cancel: no change and no snapshot.
TEST(NumberDialog, CancelChangesNothingAndTakesNoSnapshot) {
    for (CommandId command : {CmdLowPass, CmdHighPass, CmdHarmonicShift, CmdWaveFold}) {
        for (const Answers& answers :
             {Answers{std::nullopt}, Answers{}, Answers{"999", std::nullopt}}) {
            TwoHarmonicTable();
            Answer(answers);
            FillTableWithIndices();
            UndoSnapshot[7] = 123.0f;
            Command(command);
            EXPECT_TRUE(TableHoldsIndicesOutside(1, 0)) << command;
            EXPECT_EQ(UndoSnapshot[7], 123.0f) << command;
            EXPECT_EQ(HeadlessNumberDialogs.size(), 1u);
        }
    }
}

// The import dialog's start and end: finite seconds, not negative, spaces around them allowed.
TEST(NumberDialog, SecondsAnswersAreFiniteAndNotNegative) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"0.25", 0.25}, {" 2 ", 2.0}, {"0", 0.0},  {"1e-1", 0.1}, {"", {}},    {"abc", {}},
        {"-0.5", {}},   {"1.5s", {}}, {"1 2", {}}, {"inf", {}},   {"nan", {}}, {" ", {}}};
    for (const auto& [text, seconds] : cases) EXPECT_EQ(ReadSecondsAnswer(text), seconds) << text;
}

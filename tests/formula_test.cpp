#include "synth/formula.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/random.h"
#include "tests/test_support.h"

namespace {

// "amplitude#phase" is a Harmonics formula, any other text a Wave formula.
Formula F(const std::string& text) {
    const size_t bar = text.find('#');
    if (bar == std::string::npos) return {FormulaMode::Wave, text};
    return {FormulaMode::Harmonics, "", text.substr(0, bar), text.substr(bar + 1)};
}

// Sample n of frame f is f + n / 2048, so that `in` and stray writes show.
std::vector<float> MarkedTable() {
    std::vector<float> table(TableSamples);
    for (int i = 0; i < TableSamples; ++i)
        table[i] = static_cast<float>(i / SamplesPerFrame) + (i % SamplesPerFrame) / 2048.0f;
    return table;
}

const float* FrameOf(const std::vector<float>& t, int f) { return &t[f * SamplesPerFrame]; }

// Rows: text lo hi frame index value, then truths worth 1; frames beside the range stay.
TEST(Formula, NamesOperatorsAndRanges) {
    std::istringstream truths(
        "-1%4==3;7%-2==-1;mod(-1,4)==3;2^3^2==512;-2^2==-4;!0+!3==1;1<2;(2<=1)==0;0||2;"
        "(1==1&&0)==0;(1!=1)==0;(0?5:6)==6;round(2.5)==3;rint(2.5)==2;floor(-0.5)==-1;"
        "ceil(0.2)==1;atan2(1,0)==pi/2;clamp(5,0,1)==1;min(3,1,2)==1;max(3,1)==3;log2(8)==3;"
        "abs(log(e)-1)<1e-15;abs(ln(e^2)-2)<1e-15;log10(100)==2;sign(-3)==-1;pow(2,10)==1024;"
        "abs(-2)*sqrt(4)==4;abs(pi-3.14159265358979)<1e-14;abs(e-2.71828182845905)<1e-14;"
        "sin(pi/2)*cos(0)*exp(0)==1;tanh(0)+sinh(0)+cosh(0)+tan(0)+asin(0)+acos(1)+atan(0)==1");
    std::string text = "x 0 99 0 0 -1  x 0 99 0 1023 0.998046875  sin(-x*pi) 0 0 0 256 1  "
                       "w 3 7 5 1023 0.9990234375  z 10 20 20 0 1  z 20 10 15 0 0.5  "
                       "y 10 20 10 9 -1  y 20 10 20 9 1  z 30 30 30 0 0.3030303  y 99 99 99 0 1  "
                       "frame 98 99 99 0 100  q 0 1 1 0 0  in 1 2 2 1023 2.49951171875  "
                       "x+w+(q==511)#0 4 5 4 1 0.0061358846  q==2#pi/2 0 0 0 0 1";
    for (std::string truth; std::getline(truths, truth, ';');) text += "  " + truth + " 0 0 0 0 1";
    std::istringstream rows(text);
    int count = 0, lo, hi, frame, index;
    double expected;
    for (; rows >> text >> lo >> hi >> frame >> index >> expected; ++count) {
        SCOPED_TRACE(text);
        std::vector<float> table = MarkedTable(), before = table;
        ASSERT_EQ(ApplyFormula(F(text), table.data(), lo, hi).error, "");
        EXPECT_NEAR(FrameOf(table, frame)[index], expected, 1e-6);
        for (int f = 0; f < FrameCount; ++f)
            ASSERT_TRUE((f >= std::min(lo, hi) && f <= std::max(lo, hi)) ||
                        std::equal(FrameOf(table, f), FrameOf(table, f + 1), FrameOf(before, f)));
    }
    EXPECT_EQ(count, 46);
}

// rand is the same in every frame, rrnd not, and neither moves the editor's sequence.
TEST(Formula, RandomsShapesHarmonicSumsAndNonNumbers) {
    std::vector<float> table(TableSamples, 0.0f);
    const uint32_t position = RandomPosition();
    ASSERT_EQ(ApplyFormula(F("rand"), table.data(), 0, 99).error, "");
    EXPECT_TRUE(std::equal(FrameOf(table, 0), FrameOf(table, 1), FrameOf(table, 99)));
    EXPECT_NE(table[0], table[1]);
    ASSERT_EQ(ApplyFormula(F("rrnd"), table.data(), 0, 99).error, "");
    EXPECT_FALSE(std::equal(FrameOf(table, 0), FrameOf(table, 1), FrameOf(table, 1)));
    for (float v : table) ASSERT_TRUE(v >= -1.0f && v <= 1.0f);
    EXPECT_EQ(RandomPosition(), position);
    float preview[SamplesPerFrame]; // the preview's one frame has the bits the range gets
    ComputeFormulaFrame(F("rrnd*y"), table.data(), 0, 99, 40, preview);
    ApplyFormula(F("rrnd*y"), table.data(), 0, 99);
    EXPECT_TRUE(std::equal(preview, preview + SamplesPerFrame, FrameOf(table, 40)));

    ASSERT_EQ(ApplyFormula(F("abs(x)*2-1"), table.data(), 0, 0).error, "");
    for (int i = 0; i < SamplesPerFrame; ++i)
        ASSERT_EQ(table[i], static_cast<float>(2.0 * std::abs(i / 512.0 - 1.0) - 1.0)) << i;
    // The pulse is high where x < y: the first 1024 t samples of each frame.
    ASSERT_EQ(ApplyFormula(F("(x<y)*2-1"), table.data(), 0, 99).error, "");
    for (int f : {0, 33, 50, 99})
        EXPECT_EQ(std::count(FrameOf(table, f), FrameOf(table, f + 1), 1.0f),
                  std::ceil(1024.0 * f / 99));
    // The saw of all 511 harmonics; then a frame of 20 harmonics keeps its first eight.
    for (const auto& [amplitude, top] :
         {std::pair{"1/q#0", 511}, {"(q<=20)/q#0", 0}, {"in*(q<=8)#0", 8}}) {
        ASSERT_EQ(ApplyFormula(F(amplitude), table.data(), 0, 0).error, "");
        for (int i = 0; top > 0 && i < SamplesPerFrame; ++i) {
            double sum = 0.0;
            for (int k = 1; k <= top; ++k) sum += std::sin(2.0 * M_PI * k * i / 1024) / k;
            ASSERT_NEAR(table[i], sum, 1e-5) << amplitude << " " << i;
        }
    }
    // Non-numbers in double or in float become 0 and count; an infinite harmonic is left out.
    EXPECT_EQ(ApplyFormula(F("1/0"), table.data(), 2, 3).nonFinite, 2 * SamplesPerFrame);
    EXPECT_TRUE(AllZero(FrameOf(table, 2), FrameOf(table, 4)));
    EXPECT_EQ(ApplyFormula(F("(x==0)*1e300"), table.data(), 0, 0).nonFinite, 1);
    EXPECT_EQ(table[512], 0.0f);
    EXPECT_EQ(ApplyFormula(F("(q<3)/(q-1)#0"), table.data(), 0, 0).nonFinite, 1);
    EXPECT_NEAR(table[128], 1.0f, 1e-6);
}

// Each wrong text with its error (text@error;...); a phase's error says so; nothing is written.
TEST(Formula, ErrorsNameTheirColumnAndWriteNothing) {
    std::istringstream rows(
        "sin(x))+1@unexpected ')' at column 7;(1+2@missing ')' at column 5;"
        "1+fo@unknown name 'fo' at column 3;--x@unexpected '-' at column 2;"
        "2*sin@expected '(' after 'sin' at column 6;x=3@unexpected '=' at column 2;"
        " \t@empty formula at column 1;1,2@unexpected ',' at column 2;"
        "x>=0?1@missing ':' at column 7;1/q#2+@unexpected end at column 3;"
        "x^^2@unexpected '^' at column 3;" +
        std::string(5000, '1') + "@longer than 4096 characters at column 4097");
    int count = 0;
    for (std::string text, error; std::getline(rows, text, '@') && std::getline(rows, error, ';');
         ++count) {
        std::vector<float> table = MarkedTable();
        const FormulaOutcome outcome = ApplyFormula(F(text), table.data(), 0, 99);
        EXPECT_EQ(outcome.error, error);
        EXPECT_EQ(outcome.inPhase, F(text).mode == FormulaMode::Harmonics) << error;
        EXPECT_EQ(CheckFormula(F(text)).error, error);
        EXPECT_TRUE(table == MarkedTable()) << error;
    }
    EXPECT_EQ(count, 12);
    EXPECT_EQ(CheckFormula({FormulaMode::Wave, "x#2"}).error, "unexpected '#' at column 2");
    EXPECT_EQ(ApplyFormula(F("x"), MarkedTable().data(), 0, 100).error, "frames outside the table");
}

// OK writes the edit's frames (knobs in either order), Undo restores every bit, and the next
// dialog offers the formula taken.
TEST(FormulaDialog, OkWritesTheEditFramesAndUndoTakesThemBack) {
    FreshEditor();
    WavetableKnobs(20, 10);
    FillTableWithIndices();
    const TableCopy before = CopyOfTable();
    HeadlessFormulaAnswers = {HeadlessFormulaAnswer{F("frame+z")}};
    Command(CmdFormula);
    EXPECT_TRUE(TableHoldsIndicesOutside(10, 20));
    EXPECT_EQ(FrameAt(10)[0], 11.0f);
    EXPECT_EQ(FrameAt(20)[1023], 22.0f);
    Command(CmdUndo);
    EXPECT_TRUE(TableKept(before));
    Command(CmdFormula);
    EXPECT_EQ(HeadlessFormulaDialogs.back().offered.wave, "frame+z");
}

// Refusals, Cancel and Listen; the preview shows the Wave frame and counts over the range.
TEST(FormulaDialog, RefusalsCancelListenAndPreview) {
    FreshEditor();
    WavetableKnobs(60, 3);
    FillTableWithIndices();
    UndoSnapshot[7] = 123.0f;
    CurrentFormula = F("x");
    HeadlessFormulaAnswers = {HeadlessFormulaAnswer{F("1+fo"), true},
                              HeadlessFormulaAnswer{F("1/q#2+"), true}, std::nullopt};
    Command(CmdFormula);
    ASSERT_EQ(HeadlessFormulaDialogs.size(), 1u);
    EXPECT_EQ(HeadlessFormulaDialogs[0].refusals,
              (std::vector<std::string>{"unknown name 'fo' at column 3",
                                        "Phase: unexpected end at column 3"}));
    EXPECT_TRUE(TableHoldsIndicesOutside(FrameCount, -1));
    EXPECT_EQ(UndoSnapshot[7], 123.0f);
    EXPECT_EQ(CurrentFormula.wave, "x");
    using T = AuditionEventType;
    std::vector<std::pair<T, int>> notes;
    for (const AuditionEvent& e : HeadlessAuditionEvents)
        if (e.type == T::NoteOn || e.type == T::NoteOff) notes.emplace_back(e.type, e.note);
    EXPECT_EQ(notes, (std::vector<std::pair<T, int>>{{T::NoteOn, 57}, {T::NoteOff, 57}}));

    WavetableKnobs(99, 0);
    CurrentFormula = F("z*sin(6*pi*w)/(w>0)");
    Command(CmdFormula);
    const Surface& preview = HeadlessFormulaDialogs.back().preview;
    int lowest = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < preview.width; ++x)
            if (preview.At(x, y) == Red) lowest = y;
    EXPECT_EQ(lowest, 64 + 56);              // the peaks, 1.0, 56 pixels below the centre line
    EXPECT_EQ(preview.At(12, 132), Red);     // harmonic 3 at 0 dB
    EXPECT_EQ(preview.At(4, 227), DarkGrey); // no harmonic 1
    EXPECT_EQ(HeadlessFormulaDialogs.back().notice, "100 samples were not numbers and became 0");
}

} // namespace

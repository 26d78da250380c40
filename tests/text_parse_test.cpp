#include <gtest/gtest.h>

#include "io/pitch_names.h"
#include "platform/common/number_answer.h"
#include "platform/common/text_parse.h"

// One rule for every number typed: decimal only, the range inclusive, spaces around it allowed
// and nothing else after it.
TEST(TextParse, NumbersKeepTheirRangeAndRefuseTheRest) {
    struct Case {
        const char* text;
        double lo, hi;
        bool whole;
        std::optional<double> value;
    };
    const Case cases[] = {
        {" 2 ", 1, 511, true, 2},    {"511", 1, 511, true, 511}, {"64.0", 1, 511, true, 64},
        {"-7", -511, 511, true, -7}, {"0", 1, 511, true, {}},    {"512", 1, 511, true, {}},
        {"2.5", 1, 511, true, {}},   {"abc", 1, 511, true, {}},  {"", 1, 511, true, {}},
        {"40abc", 1, 511, true, {}}, {"4s", 0, 300, false, {}},  {"0x10", 1, 511, true, {}},
        {"2.5", 1, 16, false, 2.5},  {".5e1", 1, 16, false, 5},  {"1e", 1, 16, false, {}},
        {".", 0, 16, false, {}},     {"nan", 1, 16, false, {}},  {"inf", 1, 16, false, {}},
        {"16.5", 1, 16, false, {}},  {"0.5", 1, 16, false, {}},  {"1 6", 1, 16, false, {}}};
    for (const Case& c : cases)
        EXPECT_EQ(ParseNumber(c.text, c.lo, c.hi, c.whole), c.value) << '"' << c.text << '"';
    EXPECT_EQ(ParseWhole(" 127", 1, 127), 127);
    EXPECT_EQ(ReadSecondsAnswer("0.25 "), 0.25);
    EXPECT_EQ(ReadSecondsAnswer("1e9"), 1e9);
    for (const char* bad : {"-1", "", "0.25s", "nan"}) EXPECT_FALSE(ReadSecondsAnswer(bad)) << bad;
}

// Note names to MIDI numbers and back, C4 = 60, and pitches as the import reads and shows them.
TEST(TextParse, NotesAndPitches) {
    for (auto [name, number] : {std::pair{"C3", 48},
                                {"C#3", 49},
                                {"Db3", 49},
                                {"Eb2", 39},
                                {"A4", 69},
                                {" g3 ", 55},
                                {"C-1", 0},
                                {"Cb-1", -1},
                                {"G9", 127}})
        EXPECT_EQ(ParseNoteName(name), number) << name;
    for (const char* bad : {"H4", "A", "G#", "A+4", "A4.0", "A123", "C#b3", "A 4", "#4"})
        EXPECT_FALSE(ParseNoteName(bad)) << bad;
    for (auto [number, name] : {std::pair{60, "C4"}, {1, "C#-1"}, {127, "G9"}, {-1, "B-2"}})
        EXPECT_EQ(NoteName(number), name);
    double hz = 0.0;
    for (auto [text, expected] : {std::pair{"A4", 440.0},
                                  {" g3 ", 195.9977},
                                  {"Bb2", 116.5409},
                                  {"196.2 Hz", 196.2},
                                  {"50hz", 50.0}}) {
        EXPECT_TRUE(ParsePitch(text, hz)) << text;
        EXPECT_NEAR(hz, expected, 1e-4) << text;
    }
    for (const char* bad : {"", "H3", "A", "440 kHz", "-5", "nan", "G#", "0.5"})
        EXPECT_FALSE(ParsePitch(bad, hz)) << bad;
    EXPECT_EQ(DescribePitch(196.2), "G3 +2 cents, 196.2 Hz");
    EXPECT_EQ(DescribePitch(438.0), "A4 -8 cents, 438.0 Hz");
    EXPECT_EQ(DescribePitch(32.7032), "C1 +0 cents, 32.7 Hz");
}

#include <gtest/gtest.h>

#include "io/pitch_names.h"
#include "platform/common/text_parse.h"

// One rule for every number typed: decimal only, the range inclusive, spaces around it allowed
// and nothing else after it.
TEST(TextParse, NumbersKeepTheirRangeAndRefuseTheRest) {
    for (auto [text, value] : {std::pair{" 2 ", 2.0}, {"511", 511.0}, {"1", 1.0}, {"64.0", 64.0}})
        EXPECT_EQ(ParseNumber(text, 1, 511, true), value) << text;
    for (const char* bad : {"0", "512", "2.5", "abc", "", "40abc", "0x10", "2 2", "+"})
        EXPECT_FALSE(ParseNumber(bad, 1, 511, true)) << bad;
    for (auto [text, value] :
         {std::pair{"2.5", 2.5}, {".5e1", 5.0}, {"-0.5", -0.5}, {"1E+1", 10.0}})
        EXPECT_EQ(ParseNumber(text, -1, 16), value) << text;
    for (const char* bad : {"1e", ".", "-", "nan", "inf", "16.5", "-1.5", "4s", "1e400"})
        EXPECT_FALSE(ParseNumber(bad, -1, 16)) << bad;
    EXPECT_EQ(ParseWhole(" 127", 1, 127), 127);
}

// Note names to MIDI numbers and back, C4 = 60, and pitches as the import reads and shows them.
TEST(TextParse, NotesAndPitches) {
    const char* names[] = {"C3", "C#3", "Db3", "Eb2", "A4", " g3 ", "C-1", "Cb-1", "G9"};
    const int numbers[] = {48, 49, 49, 39, 69, 55, 0, -1, 127};
    for (size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(ParseNoteName(names[i]), numbers[i]) << names[i];
    for (const char* bad : {"H4", "A", "G#", "A+4", "A4.0", "A123", "C#b3", "A 4", "#4"})
        EXPECT_FALSE(ParseNoteName(bad)) << bad;
    for (auto [number, name] : {std::pair{60, "C4"}, {1, "C#-1"}, {127, "G9"}, {-1, "B-2"}})
        EXPECT_EQ(NoteName(number), name);
    double hz = 0.0;
    const char* pitches[] = {"A4", " g3 ", "Bb2", "196.2 Hz", "50hz"};
    const double hertz[] = {440.0, 195.9977, 116.5409, 196.2, 50.0},
                 within[] = {0, 1e-4, 1e-4, 0, 0};
    for (size_t i = 0; i < std::size(pitches); ++i) {
        EXPECT_TRUE(ParsePitch(pitches[i], hz)) << pitches[i];
        EXPECT_NEAR(hz, hertz[i], within[i]) << pitches[i];
    }
    for (const char* bad : {"", "H3", "A", "440 kHz", "-5", "nan", "G#", "0.5"})
        EXPECT_FALSE(ParsePitch(bad, hz)) << bad;
    EXPECT_EQ(DescribePitch(196.2), "G3 +2 cents, 196.2 Hz");
    EXPECT_EQ(DescribePitch(438.0), "A4 -8 cents, 438.0 Hz");
    EXPECT_EQ(DescribePitch(32.7032), "C1 +0 cents, 32.7 Hz");
}

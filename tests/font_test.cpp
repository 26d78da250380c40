#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/common/font.h"

static std::string Rows(const Font& font, char c) {
    return std::string(reinterpret_cast<const char*>(font.glyph(c)), font.height);
}

// Every drawn character has ink, leaves the cell's last column blank and differs from every other;
// blanks and characters past ASCII draw nothing; the small font draws lower case as upper case.
TEST(Font, GlyphsHaveInkKeepTheirGapAndDiffer) {
    std::string printable;
    for (char c = 33; c < 127; ++c) printable += c;
    for (const Font* font : {&TerminalFont, &SmallFont}) {
        const int gap = (2 << (8 - font->width)) - 1;  // the cell's last column and bits past it
        std::set<std::string> seen = {std::string(font->height, 0)};
        for (char c :
             font == &TerminalFont ? printable : "%+-./0123456789:ABCDEFGHIJKLMNOPQRSTUVWXYZ") {
            const std::string rows = Rows(*font, c);
            for (char r : rows) EXPECT_EQ(r & gap, 0) << c;
            EXPECT_TRUE(seen.insert(rows).second) << c << " is blank or like another character";
        }
        for (char c : " \n\xc8") EXPECT_EQ(Rows(*font, c), std::string(font->height, 0)) << int(c);
    }
    EXPECT_EQ(Rows(SmallFont, 'f'), Rows(SmallFont, 'F'));
}

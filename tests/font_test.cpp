#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/common/font.h"

namespace {

std::vector<uint8_t> Rows(const Font& font, char c) {
    const uint8_t* g = font.glyph(c);
    return std::vector<uint8_t>(g, g + font.height);
}

bool HasInk(const std::vector<uint8_t>& rows) {
    for (uint8_t r : rows)
        if (r != 0) return true;
    return false;
}

}  // namespace

TEST(Font, TerminalGlyphsAreDistinctAndLeaveTheLastColumnBlank) {
    EXPECT_EQ(TerminalFont.width, 8);
    EXPECT_EQ(TerminalFont.height, 12);
    std::set<std::vector<uint8_t>> seen;
    for (int c = 33; c <= 126; ++c) {
        const std::vector<uint8_t> rows = Rows(TerminalFont, static_cast<char>(c));
        EXPECT_TRUE(HasInk(rows)) << char(c);
        for (uint8_t r : rows) EXPECT_EQ(r & 0x01, 0) << char(c);
        EXPECT_TRUE(seen.insert(rows).second) << char(c) << " looks like another character";
    }
    EXPECT_FALSE(HasInk(Rows(TerminalFont, ' ')));
    EXPECT_FALSE(HasInk(Rows(TerminalFont, '\n')));
    EXPECT_FALSE(HasInk(Rows(TerminalFont, static_cast<char>(200))));
}

TEST(Font, SmallFontDrawsTheSliderLabels) {
    EXPECT_EQ(SmallFont.width, 6);
    EXPECT_EQ(SmallFont.height, 8);
    std::set<std::vector<uint8_t>> seen;
    for (char c : std::string("F0123456789")) {
        const std::vector<uint8_t> rows = Rows(SmallFont, c);
        EXPECT_TRUE(HasInk(rows)) << c;
        EXPECT_EQ(rows[0], 0) << c;
        for (uint8_t r : rows) EXPECT_EQ(r & 0x07, 0) << c;
        EXPECT_TRUE(seen.insert(rows).second) << c;
    }
    EXPECT_EQ(Rows(SmallFont, 'f'), Rows(SmallFont, 'F'));
    EXPECT_FALSE(HasInk(Rows(SmallFont, ' ')));
}

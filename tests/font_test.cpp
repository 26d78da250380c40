#include "platform/common/surface.h"
#include "tests/test_support.h"

// Draws c centred on x = 100 with its top at y = 40 and reads back its cell, a line per row.
static std::string DrawnCell(char c, FontFace face, int width, int height) {
    Surface surface;
    DrawTextCentered(surface, 100, 40, std::string(1, c), Rgb{255, 255, 255}, face);
    std::string cell;
    for (int i = 0; i < width * height; ++i) {
        cell += surface.At(100 - width / 2 + i % width, 40 + i / width).r ? '#' : '.';
        if (i % width == width - 1) cell += '\n';
    }
    return cell;
}

TEST(Font, CharactersDrawCentredInTheirShapes) {
    EXPECT_EQ(DrawnCell('1', FontFace::Terminal, 8, 12),
              "........\n........\n...##...\n..###...\n.####...\n...##...\n"
              "...##...\n...##...\n...##...\n.######.\n........\n........\n");
    EXPECT_EQ(DrawnCell('F', FontFace::Small, 6, 8),
              "......\n#####.\n#.....\n#.....\n####..\n#.....\n#.....\n#.....\n");
}

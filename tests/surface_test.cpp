#include <set>

#include "platform/common/screen_scale.h"
#include "platform/common/surface.h"
#include "tests/test_support.h"

// A line walks its major axis from the smaller end, halves rounded up, and leaves out its end.
TEST(Surface, LinesWalkTheMajorAxisAndLeaveOutTheirEnd) {
    using PixelSet = std::set<std::pair<int, int>>;
    PixelSet farLine; // ends 100000 pixels off either side: half way is at x = 0
    for (int x = 0; x < ClientWidth; ++x) farLine.insert({x, 101});
    const std::pair<std::array<int, 4>, PixelSet> cases[] = {
        {{10, 10, 14, 12}, {{10, 10}, {11, 11}, {12, 11}, {13, 12}}},
        {{14, 12, 10, 10}, {{11, 11}, {12, 11}, {13, 12}, {14, 12}}},
        {{20, 5, 18, 9}, {{20, 5}, {20, 6}, {19, 7}, {19, 8}}},
        {{-100000, 100, 100000, 101}, farLine}};
    for (const auto& [ends, expected] : cases) {
        Surface surface;
        DrawLine(surface, ends[0], ends[1], ends[2], ends[3], Rgb{255, 0, 0});
        PixelSet drawn;
        for (int i = 0; i < ClientWidth * ClientHeight; ++i)
            if (surface.pixels[size_t(i) * 3]) drawn.insert({i % ClientWidth, i / ClientWidth});
        EXPECT_EQ(drawn, expected) << "from " << ends[0] << "," << ends[1];
    }
}

// Xft.dpi / 96: below 1.5 is 1, up to 2.5 is 2, up to 3.5 is 3, above that 4; no number (0) is 1.
TEST(ScreenScale, SnapsXftDpiToWholeScalesAtTheHalves) {
    const std::pair<double, int> cases[] = {{0, 1},   {96, 1},    {143.9, 1}, {144, 2},   {192, 2},
                                            {240, 2}, {240.1, 3}, {336, 3},   {336.1, 4}, {960, 4}};
    for (const auto& [dpi, scale] : cases) EXPECT_EQ(ScaleForDpi(dpi), scale) << "dpi " << dpi;
}

// c drawn centred on x = 100, top at y = 40, read back a line per row.
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

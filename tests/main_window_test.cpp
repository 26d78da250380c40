#include <gtest/gtest.h>

#include <tuple>

#include "platform/common/strips.h"
#include "tests/window_driver.h"
#include "ui/palette.h"

// True when the w x h block at (x, y) of the raster shows image `index` of strip `id`.
static bool ShowsStripImage(int x, int y, int id, int index, int w, int h) {
    Bitmap strip;
    EXPECT_TRUE(LoadBitmapResource(id, strip));
    for (int i = 0; i < w * h; ++i) {
        const uint8_t* p = &strip.rgb[(size_t(index * h + i / w) * strip.width + i % w) * 3];
        if (PixelAt(x + i % w, y + i / w) != Rgb{p[0], p[1], p[2]}) return false;
    }
    return true;
}

TEST(MainWindow, KnobsShowTheirValueAndLedsTheValuePlusOneUntilClose) {
    FreshWindow();
    Drag(57, 90, 57, 60);
    Drag(57, 345, 57, 200);
    Paint();
    for (auto [k, value] : {std::pair{0, 30}, {1, 0}, {2, 99}}) {
        EXPECT_TRUE(ShowsStripImage(32, 64 + 128 * k, KnobStripId, value, KnobSize, KnobSize));
        EXPECT_TRUE(ShowsStripImage(34, 28 + 128 * k, LedStripId, value + 1, LedWidth, LedHeight));
    }
    Send(WM_CLOSE);
    EXPECT_EQ(std::tuple(HeadlessDestroyed, HeadlessQuitCode), std::tuple(true, 0));
}

TEST(MainWindow, TabsInTheViewColoursAndBackgroundsOnlyWithFullRepaint) {
    FreshWindow();
    PaintView(ViewWavetable);
    for (int left = 194; left < 554; left += 90)  // 88 x 24, white captions in rows 16..27
        EXPECT_EQ(CountColour(left - 1, 9, left + 89, 35, left == 284 ? Grey : DarkGrey) +
                      CountColour(left, 16, left + 88, 28, White), 88 * 24) << left;
    Press(57, 90);  // a held move repaints without backgrounds
    Paint();
    FillRect(ClientSurface(HeadlessWindow()), 5, 500, 701, 501, White);
    Move(57, 80);
    Paint();
    EXPECT_EQ(std::tuple(PixelAt(5, 500), PixelAt(700, 500)), std::tuple(White, White));
    Send(WM_SIZE);
    Paint();
    EXPECT_EQ(std::tuple(PixelAt(5, 500), PixelAt(700, 500)), std::tuple(PanelColour, Black));
}

TEST(MainWindow, MissingStripsAreReportedInOrder) {
    FreshEditor();
    HeadlessFailingBitmaps = {LedStripId, KnobStripId};
    Send(WM_CREATE);
    ASSERT_EQ(HeadlessMessageBoxes.size(), 2u);
    for (const RecordedMessageBox& box : HeadlessMessageBoxes)
        EXPECT_EQ(std::tuple(box.caption, box.owner), std::tuple("Error", HeadlessWindow()));
    EXPECT_EQ(std::tuple(HeadlessMessageBoxes[0].text, HeadlessMessageBoxes[1].text),
              std::tuple("Could not load LED!", "Could not load knob!"));
    EXPECT_EQ(std::tuple(HeadlessMenuBarBuilds, HeadlessMenuBar.empty()), std::tuple(1, false));
}

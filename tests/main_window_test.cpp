#include <gtest/gtest.h>

#include "platform/common/strips.h"
#include "tests/test_support.h"
#include "tests/window_driver.h"
#include "ui/palette.h"

namespace {

// True when the w x h block at (x, y) of the raster equals image `index` of
// the strip.
bool ShowsStripImage(int x, int y, const Bitmap& strip, int index, int w, int h) {
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            const uint8_t* p = &strip.rgb[(size_t(index * h + row) * strip.width + col) * 3];
            if (PixelAt(x + col, y + row) != Rgb{p[0], p[1], p[2]}) return false;
        }
    return true;
}

void FreshWindow() {
    FreshEditor();
    Send(WM_CREATE);
    Release();
}

}  // namespace

TEST(MainWindow, KnobsShowTheirValueAndLedsTheValuePlusOne) {
    FreshWindow();
    Bitmap led, knob;
    ASSERT_TRUE(LoadBitmapResource(LedStripId, led));
    ASSERT_TRUE(LoadBitmapResource(KnobStripId, knob));
    Press(57, 90);
    Move(57, 60);
    Release();
    Press(57, 345);
    Move(57, 200);
    Release();
    Paint();
    EXPECT_TRUE(ShowsStripImage(32, 64, knob, 30, KnobSize, KnobSize));
    EXPECT_TRUE(ShowsStripImage(34, 28, led, 31, LedWidth, LedHeight));
    EXPECT_FALSE(ShowsStripImage(34, 28, led, 30, LedWidth, LedHeight));
    EXPECT_TRUE(ShowsStripImage(32, 192, knob, 0, KnobSize, KnobSize));
    EXPECT_TRUE(ShowsStripImage(34, 156, led, 1, LedWidth, LedHeight));
    EXPECT_TRUE(ShowsStripImage(32, 320, knob, 99, KnobSize, KnobSize));
    EXPECT_TRUE(ShowsStripImage(34, 284, led, 100, LedWidth, LedHeight));

    // The caption lies in black under the knob, centred on x = 57 from y = 114.
    EXPECT_GT(CountColour(32, 114, 82, 126, Black), 0);
    EXPECT_EQ(CountColour(0, 126, 128, 156, Black), 0);
}

// Every paint redraws knobs, tabs and displays; only a full repaint refills the
// panel and display backgrounds, and it clears the flag.
TEST(MainWindow, BackgroundsOnlyWithFullRepaintAndTabsInTheViewColours) {
    FreshWindow();
    Click(330, 12);  // the WAVETABLE tab
    ASSERT_TRUE(FullRepaint);
    Paint();
    EXPECT_FALSE(FullRepaint);
    EXPECT_EQ(PixelAt(2, 2), PanelColour);
    EXPECT_EQ(PixelAt(127, 574), PanelColour);
    EXPECT_EQ(PixelAt(128, 574), Black);
    const int tabLeft[] = {194, 284, 374, 464};
    for (int i = 0; i < 4; ++i) {
        const Rgb fill = i == 1 ? Grey : DarkGrey;
        EXPECT_EQ(PixelAt(tabLeft[i], 10), fill);
        EXPECT_EQ(PixelAt(tabLeft[i] + 87, 33), fill);
        EXPECT_EQ(PixelAt(tabLeft[i] + 88, 20), Black);
        EXPECT_EQ(PixelAt(tabLeft[i], 34), Black);
        EXPECT_GT(CountColour(tabLeft[i], 16, tabLeft[i] + 88, 28, White), 0);
        EXPECT_EQ(CountColour(tabLeft[i], 10, tabLeft[i] + 88, 16, White), 0);
    }

    Press(57, 90);  // a held move repaints without backgrounds
    Paint();
    Surface& surface = ClientSurface(HeadlessWindow());
    FillRect(surface, 700, 500, 701, 501, White);
    FillRect(surface, 5, 500, 6, 501, White);
    Move(57, 80);
    Paint();
    EXPECT_EQ(PixelAt(700, 500), White);
    EXPECT_EQ(PixelAt(5, 500), White);
    Release();
    Send(WM_SIZE);
    EXPECT_TRUE(FullRepaint);
    Paint();
    EXPECT_EQ(PixelAt(700, 500), Black);
    EXPECT_EQ(PixelAt(5, 500), PanelColour);
}

TEST(MainWindow, MissingStripsAreReportedInOrderAndLeaveTheirPlaceUndrawn) {
    FreshEditor();
    HeadlessFailingBitmaps = {LedStripId, KnobStripId};
    Send(WM_CREATE);
    ASSERT_EQ(HeadlessMessageBoxes.size(), 2u);
    EXPECT_EQ(HeadlessMessageBoxes[0].text, "Could not load LED!");
    EXPECT_EQ(HeadlessMessageBoxes[1].text, "Could not load knob!");
    for (const RecordedMessageBox& box : HeadlessMessageBoxes) {
        EXPECT_EQ(box.owner, HeadlessWindow());
        EXPECT_EQ(box.caption, "Error");
    }
    EXPECT_EQ(HeadlessMenuBarBuilds, 1);
    EXPECT_FALSE(HeadlessMenuBar.empty());
    Paint();
    EXPECT_EQ(CountColour(32, 28, 82, 114, PanelColour), 50 * 86);

    // Only the knob strip missing: one box, the LEDs drawn.
    FreshEditor();
    HeadlessFailingBitmaps = {KnobStripId};
    Send(WM_CREATE);
    ASSERT_EQ(HeadlessMessageBoxes.size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes[0].text, "Could not load knob!");
    Paint();
    Bitmap led;
    ASSERT_TRUE(LoadBitmapResource(LedStripId, led));
    EXPECT_TRUE(ShowsStripImage(34, 28, led, 1, LedWidth, LedHeight));
    EXPECT_EQ(CountColour(32, 64, 82, 114, PanelColour), 50 * 50);
}

TEST(MainWindow, CloseReleasesTheStripsAndQuitsWithZero) {
    FreshWindow();
    Send(WM_CLOSE);
    EXPECT_TRUE(HeadlessDestroyed);
    ASSERT_TRUE(HeadlessQuitCode.has_value());
    EXPECT_EQ(*HeadlessQuitCode, 0);
    FullRepaint = true;
    Paint();
    EXPECT_EQ(CountColour(32, 28, 82, 114, PanelColour), 50 * 86);
}

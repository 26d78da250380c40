#include "tests/test_support.h"

// New resets the document but keeps the clipboards, and snapshots the table before clearing it.
TEST(NewDocument, ResetsTheDocumentKeepsTheClipboardsAndUndoesBack) {
    FreshEditor();
    FillTableWithIndices();
    TableClipboardLength = 2048;
    PadwaveBuffer[7] = 0.1f;
    Command(CmdViewWavetable);
    Polarity = 0;
    PadwaveValue = 50;
    PadwaveTimes10 = 1;
    Command(CmdNew);
    EXPECT_EQ(ViewMode, ViewWaveform);
    EXPECT_EQ(Polarity, 1);
    EXPECT_EQ(PadwaveValue, 8);
    EXPECT_EQ(PadwaveTimes10, 0);
    EXPECT_EQ(PadwaveBuffer[7], 0.0f);
    EXPECT_EQ(Wavetable[5000], 0.0f);
    EXPECT_EQ(TableClipboardLength, 2048);
    Command(CmdUndo);
    EXPECT_TRUE(TableHoldsIndicesOutside(1, 0));
}

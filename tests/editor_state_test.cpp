#include <gtest/gtest.h>

#include "core/command_ids.h"
#include "tests/test_support.h"

TEST(EditRange, FollowsTheViewAndKeepsOtherFields) {
    FreshEditor();
    ViewMode = ViewWavetable;
    for (auto knobs : {std::pair{70, 20}, std::pair{20, 70}}) {
        CurrentFrame = knobs.first;
        OffsetFrame = knobs.second;
        ComputeEditRange();
        EXPECT_EQ(RangeStart, 20 * 1024);
        EXPECT_EQ(FirstFrameEnd, 21 * 1024);
        EXPECT_EQ(LastFrameStart, 70 * 1024);
        EXPECT_EQ(RangeEnd, 71 * 1024);
    }
    CurrentFrame = OffsetFrame = 99;
    ComputeEditRange();
    EXPECT_EQ(RangeEnd, TableSamples);

    // The Waveform view sets only the first two fields; Additive and Padwave none.
    ViewMode = ViewWaveform;
    CurrentFrame = 5;
    ComputeEditRange();
    EXPECT_EQ(FirstFrameEnd, 6 * 1024);
    EXPECT_EQ(LastFrameStart, 99 * 1024);
    ViewMode = ViewPadwave;
    CurrentFrame = 40;
    ComputeEditRange();
    EXPECT_EQ(RangeStart, 5 * 1024);
}

TEST(NewDocument, ResetsStateButKeepsClipboardsAndUndoesBack) {
    FreshEditor();
    FillTableWithIndices();
    FrameClipboard[3] = 0.25f;
    TableClipboardLength = 2048;
    PadwaveBuffer[7] = 0.1f;
    ViewMode = ViewWavetable;
    CurrentFrame = 12;
    OffsetFrame = 30;
    Polarity = 0;
    PadwaveValue = 50;
    PadwaveTimes10 = 1;
    Command(CmdNew);

    EXPECT_EQ(ViewMode, ViewWaveform);
    EXPECT_EQ(CurrentFrame + OffsetFrame, 0);
    EXPECT_EQ(Polarity, 1);
    EXPECT_EQ(PadwaveValue, 8);
    EXPECT_EQ(PadwaveTimes10, 0);
    EXPECT_EQ(PadwaveBuffer[7], 0.0f);
    EXPECT_EQ(Wavetable[5000], 0.0f);
    EXPECT_EQ(FrameClipboard[3], 0.25f);
    EXPECT_EQ(TableClipboardLength, 2048);

    Command(CmdUndo);
    EXPECT_EQ(Wavetable[12 * 1024 + 7], 12007.0f);
    EXPECT_EQ(Wavetable[TableSamples - 1], 100023.0f);
}

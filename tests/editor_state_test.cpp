#include <gtest/gtest.h>

#include "core/command_ids.h"
#include "tests/test_support.h"

TEST(EditRange, FollowsTheViewAndKeepsOtherFields) {
    FreshEditor();
    ViewMode = ViewWavetable;
    CurrentFrame = 70;
    OffsetFrame = 20;
    ComputeEditRange();
    EXPECT_EQ(RangeStart, 20 * 1024);
    EXPECT_EQ(FirstFrameEnd, 21 * 1024);
    EXPECT_EQ(LastFrameStart, 70 * 1024);
    EXPECT_EQ(RangeEnd, 71 * 1024);
    std::swap(CurrentFrame, OffsetFrame);
    ComputeEditRange();
    EXPECT_EQ(RangeStart, 20 * 1024);
    EXPECT_EQ(RangeEnd, 71 * 1024);
    EXPECT_EQ(CurrentFrame, 20);  // knobs are not swapped

    CurrentFrame = OffsetFrame = 99;
    ComputeEditRange();
    EXPECT_EQ(RangeStart, 99 * 1024);
    EXPECT_EQ(FirstFrameEnd, 102400);
    EXPECT_EQ(RangeEnd, 102400);

    // The Waveform view leaves LastFrameStart and RangeEnd as they were; the
    // Additive and Padwave views change nothing.
    ViewMode = ViewWaveform;
    CurrentFrame = 5;
    ComputeEditRange();
    EXPECT_EQ(RangeStart, 5 * 1024);
    EXPECT_EQ(FirstFrameEnd, 6 * 1024);
    EXPECT_EQ(LastFrameStart, 99 * 1024);
    EXPECT_EQ(RangeEnd, 102400);
    for (int32_t view : {ViewAdditive, ViewPadwave}) {
        ViewMode = view;
        CurrentFrame = 40;
        ComputeEditRange();
        EXPECT_EQ(RangeStart, 5 * 1024);
        EXPECT_EQ(LastFrameStart, 99 * 1024);
    }
}

TEST(NewDocument, ResetsStateButKeepsClipboardsAndUndoesBack) {
    FreshEditor();
    FillTableWithIndices();
    FrameClipboard[3] = 0.25f;
    TableClipboard[5000] = -0.5f;
    TableClipboardLength = 2048;
    PadwaveBuffer[7] = 0.1f;
    ViewMode = ViewWavetable;
    CurrentFrame = 12;
    OffsetFrame = 30;
    Polarity = 0;
    PadwaveValue = 50;
    PadwaveTimes10 = 1;
    FullRepaint = false;
    Command(CmdNew);

    EXPECT_EQ(ViewMode, ViewWaveform);
    EXPECT_EQ(CurrentFrame, 0);
    EXPECT_EQ(OffsetFrame, 0);
    EXPECT_EQ(Polarity, 1);
    EXPECT_EQ(PadwaveValue, 8);
    EXPECT_EQ(PadwaveTimes10, 0);
    EXPECT_EQ(PartialLimit, 256);
    EXPECT_TRUE(FullRepaint);
    EXPECT_EQ(RangeStart, 0);
    EXPECT_EQ(FirstFrameEnd, 1024);
    EXPECT_EQ(PadwaveBuffer[7], 0.0f);
    for (int i = 0; i < TableSamples; ++i) ASSERT_EQ(Wavetable[i], 0.0f) << i;
    EXPECT_EQ(FrameClipboard[3], 0.25f);
    EXPECT_EQ(TableClipboard[5000], -0.5f);
    EXPECT_EQ(TableClipboardLength, 2048);

    Command(CmdUndo);
    EXPECT_EQ(Wavetable[0], 0.0f);
    EXPECT_EQ(Wavetable[12 * 1024 + 7], 12007.0f);
    EXPECT_EQ(Wavetable[TableSamples - 1], 100023.0f);
}

#include <gtest/gtest.h>

#include <cmath>

#include "core/command_ids.h"
#include "tests/test_support.h"

namespace {

float Sentinel(int frame, int n) { return static_cast<float>(frame * 1000 + n); }

// Every frame outside [lo, hi] still holds its sentinel samples.
void ExpectOutsideUntouched(int lo, int hi) {
    for (int i = 0; i < TableSamples; ++i) {
        const int frame = i / SamplesPerFrame;
        if (frame >= lo && frame <= hi) continue;
        ASSERT_EQ(Wavetable[i], Sentinel(frame, i % 1024)) << i;
    }
}

void Knobs(int32_t view, int wave, int offset) {
    Command(view == ViewWaveform ? CmdViewWaveform : CmdViewWavetable);
    CurrentFrame = wave;
    OffsetFrame = offset;
}

}  // namespace

TEST(Edits, FrameEditsStayInTheFrameAndUndoOneStep) {
    for (int frame : {0, 99}) {
        FreshEditor();
        FillTableWithIndices();
        Knobs(ViewWaveform, frame, 50);
        FrameAt(frame)[1] = 0.0f;
        Command(CmdAmplify);
        Command(CmdAttenuate);
        EXPECT_EQ(FrameAt(frame)[5], (Sentinel(frame, 5) * 1.1f) * 0.9f);
        EXPECT_NE(FrameAt(frame)[5], Sentinel(frame, 5));  // not inverses of each other
        Command(CmdInvert);
        EXPECT_TRUE(std::signbit(FrameAt(frame)[1]));  // 0.0 becomes -0.0
        Command(CmdReverse);
        EXPECT_EQ(FrameAt(frame)[0], -Sentinel(frame, 1023) * 1.1f * 0.9f);
        ExpectOutsideUntouched(frame, frame);
        Command(CmdUndo);
        Command(CmdUndo);  // the snapshot is one level: a repeat gives the same table
        EXPECT_EQ(FrameAt(frame)[0], -Sentinel(frame, 0) * 1.1f * 0.9f);
        EXPECT_TRUE(std::signbit(FrameAt(frame)[1]));
    }
}

TEST(Edits, RangeEditsCoverLoToHiWhateverTheKnobOrder) {
    FreshEditor();
    FillTableWithIndices();
    Knobs(ViewWavetable, 5, 2);
    Command(CmdReverse);  // frames 2..5 in reverse order, each kept intact
    for (int j = 0; j < 4; ++j) ASSERT_EQ(FrameAt(2 + j)[7], Sentinel(5 - j, 7)) << j;
    Command(CmdCut);
    EXPECT_EQ(FrameAt(2)[0], 0.0f);
    EXPECT_EQ(FrameAt(5)[1023], 0.0f);
    ExpectOutsideUntouched(2, 5);

    // Normalize uses one gain for the whole range.
    FrameAt(3)[10] = 1.0f;
    FrameAt(4)[20] = -0.5f;
    Command(CmdNormalize);
    EXPECT_EQ(FrameAt(3)[10], 0.35355678f);
    EXPECT_NEAR(FrameAt(4)[20], -0.1767784f, 1e-6f);

    // Clear in the Wavetable view empties the whole table and keeps the knobs.
    Command(CmdClear);
    for (int i = 0; i < TableSamples; ++i) ASSERT_EQ(Wavetable[i], 0.0f) << i;
    EXPECT_EQ(CurrentFrame, 5);
}

TEST(Edits, CopyReplacesTheSnapshotAndFillsTheClipboard) {
    FreshEditor();
    FillTableWithIndices();
    Knobs(ViewWavetable, 12, 10);
    Command(CmdAmplify);
    Command(CmdCopy);
    EXPECT_EQ(TableClipboardLength, 3 * 1024);
    EXPECT_EQ(TableClipboard[3 * 1024 - 1], Sentinel(12, 1023) * 1.1f);
    Command(CmdUndo);  // back to the table at the Copy, amplified
    EXPECT_EQ(FrameAt(10)[0], Sentinel(10, 0) * 1.1f);
}

TEST(Edits, PasteUpwardWritesTheShorterOfClipboardAndRange) {
    FreshEditor();
    FillTableWithIndices();
    Knobs(ViewWavetable, 1, 3);
    Command(CmdPaste);  // nothing copied yet: nothing written
    ExpectOutsideUntouched(100, 100);

    Knobs(ViewWavetable, 20, 22);
    Command(CmdCopy);
    Knobs(ViewWavetable, 30, 34);  // 3 frames into 5
    Command(CmdPaste);
    for (int j = 0; j < 3; ++j) ASSERT_EQ(FrameAt(30 + j)[7], Sentinel(20 + j, 7));
    EXPECT_EQ(FrameAt(33)[7], Sentinel(33, 7));

    Knobs(ViewWavetable, 98, 99);  // 3 frames into the last 2
    Command(CmdPasteMix);
    EXPECT_EQ(FrameAt(98)[1], (Sentinel(20, 1) + Sentinel(98, 1)) * 0.5f);
    EXPECT_EQ(FrameAt(99)[1], (Sentinel(21, 1) + Sentinel(99, 1)) * 0.5f);
    ExpectOutsideUntouched(20, 99);
}

TEST(Edits, PasteDownwardFillsEveryFrameFromTheWaveKnob) {
    FreshEditor();
    FillTableWithIndices();
    Knobs(ViewWavetable, 99, 99);
    Command(CmdPaste);  // equal knobs write clipboard frame 0 even when never copied
    EXPECT_EQ(FrameAt(99)[1023], 0.0f);

    Knobs(ViewWavetable, 40, 45);  // a longer copy leaves frames past a later short one
    Command(CmdCopy);
    Knobs(ViewWavetable, 50, 51);
    Command(CmdCopy);
    Knobs(ViewWavetable, 10, 5);
    Command(CmdPaste);
    EXPECT_EQ(FrameAt(10)[3], Sentinel(50, 3));
    EXPECT_EQ(FrameAt(9)[3], Sentinel(51, 3));
    for (int j = 2; j <= 5; ++j) EXPECT_EQ(FrameAt(10 - j)[3], Sentinel(40 + j, 3));
    ExpectOutsideUntouched(5, 99);
}

TEST(Edits, FramePasteAndPasteMix) {
    FreshEditor();
    FillTableWithIndices();
    Knobs(ViewWaveform, 8, 0);
    Command(CmdCopy);
    Command(CmdPasteMix);  // onto itself: unchanged
    EXPECT_EQ(FrameAt(8)[1000], Sentinel(8, 1000));
    FillFrame(9, 0.0f);
    CurrentFrame = 9;
    Command(CmdPasteMix);  // onto zeros: halved
    EXPECT_EQ(FrameAt(9)[1], Sentinel(8, 1) * 0.5f);
    Command(CmdPaste);
    EXPECT_EQ(FrameAt(9)[1], Sentinel(8, 1));
}

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/command_ids.h"
#include "tests/test_support.h"

namespace {

float Sentinel(int i) { return static_cast<float>((i / SamplesPerFrame) * 1000 + i % SamplesPerFrame); }

// Every frame outside [lo, hi] still holds its sentinel samples.
void ExpectOutsideUntouched(int lo, int hi) {
    for (int i = 0; i < TableSamples; ++i) {
        const int frame = i / SamplesPerFrame;
        if (frame < lo || frame > hi) {
            ASSERT_EQ(Wavetable[i], Sentinel(i)) << i;
        }
    }
}

void WavetableView(int wave, int offset) {
    Command(CmdViewWavetable);
    CurrentFrame = wave;
    OffsetFrame = offset;
}

uint32_t Bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

}  // namespace

TEST(Edits, ScalingAndInvertStayInsideTheirFrames) {
    for (int frame : {0, 42, 99}) {
        FreshEditor();
        FillTableWithIndices();
        CurrentFrame = frame;
        FrameAt(frame)[1] = 0.0f;
        Command(CmdAmplify);
        EXPECT_EQ(FrameAt(frame)[5], Sentinel(frame * 1024 + 5) * 1.10000002384185791015625f);
        Command(CmdAttenuate);
        EXPECT_EQ(FrameAt(frame)[5],
                  (Sentinel(frame * 1024 + 5) * 1.1f) * 0.89999997615814208984375f);
        Command(CmdInvert);
        EXPECT_EQ(Bits(FrameAt(frame)[1]), 0x80000000u);  // -0.0
        ExpectOutsideUntouched(frame, frame);
        // Undo goes back one command only.
        Command(CmdUndo);
        EXPECT_EQ(Bits(FrameAt(frame)[1]), 0u);
        EXPECT_EQ(FrameAt(frame)[5], (Sentinel(frame * 1024 + 5) * 1.1f) * 0.9f);
    }

    FreshEditor();
    FillTableWithIndices();
    WavetableView(60, 57);
    Command(CmdAmplify);
    Command(CmdInvert);
    Command(CmdInvert);
    ExpectOutsideUntouched(57, 60);
    for (int i = 57 * 1024; i < 61 * 1024; ++i) ASSERT_EQ(Wavetable[i], Sentinel(i) * 1.1f) << i;
}

TEST(Edits, ReverseFramesAndRanges) {
    FreshEditor();
    FillTableWithIndices();
    CurrentFrame = 99;
    Command(CmdReverse);
    for (int k = 0; k < 1024; ++k) ASSERT_EQ(FrameAt(99)[k], 99000.0f + (1023 - k)) << k;
    ExpectOutsideUntouched(99, 99);

    FreshEditor();
    FillTableWithIndices();
    WavetableView(2, 5);
    Command(CmdReverse);
    for (int j = 0; j < 4; ++j)
        for (int k = 0; k < 1024; ++k)
            ASSERT_EQ(FrameAt(2 + j)[k], static_cast<float>((5 - j) * 1000 + k)) << j << " " << k;
    ExpectOutsideUntouched(2, 5);

    // Equal knobs: nothing changes, but the snapshot is still taken.
    FillFrame(0, 0.5f);
    WavetableView(9, 9);
    Command(CmdReverse);
    FillFrame(0, 0.0f);
    Command(CmdUndo);
    EXPECT_EQ(FrameAt(0)[3], 0.5f);
}

TEST(Edits, NormalizeUsesOneGainForTheRange) {
    FreshEditor();
    FillFrame(3, 0.0f);
    FrameAt(3)[10] = 1.0f;
    FrameAt(4)[20] = -0.5f;
    WavetableView(4, 3);
    Command(CmdNormalize);
    EXPECT_EQ(FrameAt(3)[10], 0.35355678f);
    EXPECT_NEAR(FrameAt(4)[20], -0.1767784f, 1e-6f);

    Command(CmdViewWaveform);
    CurrentFrame = 4;
    Command(CmdNormalize);
    EXPECT_NEAR(FrameAt(4)[20], -0.353557f, 1e-6f);
    EXPECT_EQ(FrameAt(3)[10], 0.35355678f);

    CurrentFrame = 50;
    FrameAt(50)[0] = 0.000001f;
    Command(CmdNormalize);
    EXPECT_NEAR(FrameAt(50)[0], 0.0354f, 1e-4f);
    CurrentFrame = 51;
    Command(CmdNormalize);
    EXPECT_EQ(FrameAt(51)[0], 0.0f);
}

TEST(Edits, CutClearAndCopyKeepTheirBounds) {
    FreshEditor();
    FillTableWithIndices();
    CurrentFrame = 0;
    Command(CmdCut);
    for (int k = 0; k < 1024; ++k) ASSERT_EQ(FrameAt(0)[k], 0.0f);
    ExpectOutsideUntouched(0, 0);
    EXPECT_EQ(FrameClipboard[5], 0.0f);  // Cut writes no clipboard

    FillTableWithIndices();
    WavetableView(12, 10);
    Command(CmdCut);
    ExpectOutsideUntouched(10, 12);
    EXPECT_EQ(FrameAt(12)[1023], 0.0f);

    FillTableWithIndices();
    Command(CmdClear);  // the whole table in the Wavetable view
    for (int i = 0; i < TableSamples; ++i) ASSERT_EQ(Wavetable[i], 0.0f) << i;
    EXPECT_EQ(CurrentFrame, 12);
    EXPECT_EQ(OffsetFrame, 10);

    // Copy replaces the snapshot, so an earlier edit can no longer be undone.
    FillTableWithIndices();
    Command(CmdAmplify);
    const int copies = HeadlessInvalidations;
    Command(CmdCopy);
    EXPECT_EQ(HeadlessInvalidations, copies);  // Copy never repaints
    EXPECT_EQ(TableClipboardLength, 3 * 1024);
    EXPECT_EQ(TableClipboard[0], 10000.0f * 1.1f);
    EXPECT_EQ(TableClipboard[3 * 1024 - 1], 13023.0f * 1.1f);
    Command(CmdUndo);
    EXPECT_EQ(FrameAt(10)[0], 10000.0f * 1.1f);
}

TEST(Edits, PasteUpwardWritesTheShorterOfClipboardAndRange) {
    FreshEditor();
    FillTableWithIndices();
    WavetableView(20, 22);  // copy 3 frames
    Command(CmdCopy);
    FillTableWithIndices();
    for (int i = 0; i < TableSamples; ++i) Wavetable[i] = -Wavetable[i];
    WavetableView(30, 34);  // paste into 5 frames
    Command(CmdPaste);
    for (int j = 0; j < 3; ++j) ASSERT_EQ(FrameAt(30 + j)[7], static_cast<float>((20 + j) * 1000 + 7));
    EXPECT_EQ(FrameAt(33)[7], -33007.0f);
    EXPECT_EQ(FrameAt(34)[7], -34007.0f);
    EXPECT_EQ(FrameAt(29)[1023], -30023.0f);

    // A longer clipboard stops at the end of the range, also at frame 99.
    FillTableWithIndices();
    WavetableView(0, 4);
    Command(CmdCopy);
    WavetableView(97, 98);
    Command(CmdPaste);
    EXPECT_EQ(FrameAt(97)[0], 0.0f);
    EXPECT_EQ(FrameAt(98)[1023], 2023.0f);
    EXPECT_EQ(FrameAt(99)[0], 99000.0f);
    WavetableView(98, 99);
    Command(CmdPaste);
    EXPECT_EQ(FrameAt(98)[1023], 1023.0f);
    EXPECT_EQ(FrameAt(99)[1023], 2023.0f);
    EXPECT_EQ(FrameAt(97)[5], 5.0f);

    // An empty clipboard writes nothing upward.
    FreshEditor();
    FillTableWithIndices();
    WavetableView(1, 3);
    Command(CmdPaste);
    ExpectOutsideUntouched(100, 100);
}

TEST(Edits, PasteDownwardFillsEveryFrameFromTheWaveKnob) {
    FreshEditor();
    FillTableWithIndices();
    WavetableView(40, 45);  // a 6-frame copy leaves data past a later, shorter one
    Command(CmdCopy);
    WavetableView(50, 51);
    Command(CmdCopy);
    EXPECT_EQ(TableClipboardLength, 2048);
    WavetableView(10, 5);
    Command(CmdPaste);
    EXPECT_EQ(FrameAt(10)[3], 50003.0f);
    EXPECT_EQ(FrameAt(9)[3], 51003.0f);
    for (int j = 2; j <= 5; ++j) EXPECT_EQ(FrameAt(10 - j)[3], static_cast<float>((40 + j) * 1000 + 3));
    EXPECT_EQ(FrameAt(11)[3], 11003.0f);
    EXPECT_EQ(FrameAt(4)[1023], 5023.0f);

    // Equal knobs write clipboard frame 0 even when nothing was ever copied.
    FreshEditor();
    FillTableWithIndices();
    WavetableView(99, 99);
    Command(CmdPaste);
    EXPECT_EQ(FrameAt(99)[1023], 0.0f);
    ExpectOutsideUntouched(99, 99);
}

TEST(Edits, PasteMixAveragesInSinglePrecision) {
    FreshEditor();
    FillTableWithIndices();
    CurrentFrame = 8;
    Command(CmdCopy);
    Command(CmdPasteMix);  // onto itself: unchanged
    for (int k = 0; k < 1024; ++k) ASSERT_EQ(FrameAt(8)[k], 8000.0f + k);
    CurrentFrame = 9;
    FillFrame(9, 0.0f);
    Command(CmdPasteMix);  // onto zeros: halved
    EXPECT_EQ(FrameAt(9)[1], 4000.5f);
    Command(CmdPaste);
    EXPECT_EQ(FrameAt(9)[1], 8001.0f);

    FillTableWithIndices();
    WavetableView(20, 21);
    Command(CmdCopy);
    WavetableView(31, 30);  // downward: frame 31 gets clipboard frame 0
    Command(CmdPasteMix);
    EXPECT_EQ(FrameAt(31)[2], (20002.0f + 31002.0f) * 0.5f);
    EXPECT_EQ(FrameAt(30)[2], (21002.0f + 30002.0f) * 0.5f);
    ExpectOutsideUntouched(30, 31);
}

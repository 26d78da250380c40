#include "tests/test_support.h"

// Each edit on the index table after its row's copies: the first sample of frame lo, the last of
// hi, nothing changed outside lo..hi, the knobs kept, and Undo restores the table.
TEST(Edits, ChangeExactlyTheirFramesAndUndo) {
    struct Case {
        uint16_t command, view;
        std::vector<std::pair<int, int>> copies;
        int wave, offset, lo, hi;
        float first, last;
    }; // copies: knobs of each Copy
    const Case cases[] = {
        {CmdAmplify, CmdViewWaveform, {}, 7, 50, 7, 7, 7700.0f, 8825.3f},
        {CmdAttenuate, CmdViewWaveform, {}, 7, 50, 7, 7, 6300.0f, 7220.7f},
        {CmdInvert, CmdViewWaveform, {}, 7, 50, 7, 7, -7000.0f, -8023.0f},
        {CmdReverse, CmdViewWaveform, {}, 7, 50, 7, 7, 8023.0f, 7000.0f},
        {CmdNormalize, CmdViewWaveform, {}, 7, 50, 7, 7, 0.308475316f, 0.353556782f},
        {CmdCut, CmdViewWaveform, {}, 7, 50, 7, 7, 0.0f, 0.0f},
        {CmdClear, CmdViewWaveform, {}, 7, 50, 7, 7, 0.0f, 0.0f},
        {CmdPaste, CmdViewWaveform, {{8, 0}}, 9, 0, 9, 9, 8000.0f, 9023.0f},
        {CmdPasteMix, CmdViewWaveform, {{8, 0}}, 9, 0, 9, 9, 8500.0f, 9523.0f},
        {CmdAmplify, CmdViewWavetable, {}, 5, 2, 2, 5, 2200.0f, 6625.3f},
        {CmdAttenuate, CmdViewWavetable, {}, 2, 5, 2, 5, 1800.0f, 5420.7f},
        {CmdInvert, CmdViewWavetable, {}, 5, 2, 2, 5, -2000.0f, -6023.0f},
        {CmdReverse, CmdViewWavetable, {}, 5, 2, 2, 5, 5000.0f, 3023.0f}, // the frames' order only
        {CmdNormalize, CmdViewWavetable, {}, 2, 5, 2, 5, 0.117402218f, 0.353556782f}, // one gain
        {CmdCut, CmdViewWavetable, {}, 5, 2, 2, 5, 0.0f, 0.0f},
        {CmdClear, CmdViewWavetable, {}, 5, 2, 0, 99, 0.0f, 0.0f}, // the whole table
        // Upward (Wave below Offset): as much of the clipboard as the range holds.
        {CmdPaste, CmdViewWavetable, {{20, 22}}, 30, 34, 30, 32, 20000.0f, 23023.0f},
        {CmdPaste, CmdViewWavetable, {{22, 20}}, 40, 41, 40, 41, 20000.0f, 22023.0f},
        {CmdPasteMix, CmdViewWavetable, {{20, 22}}, 40, 41, 40, 41, 30000.0f, 32023.0f},
        // Downward: clipboard frame j onto frame hi - j, past the copy into what a longer one left.
        {CmdPaste, CmdViewWavetable, {{40, 45}, {50, 51}}, 10, 5, 5, 10, 45000.0f, 51023.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "command " << c.command << " in view " << c.view);
        FreshEditor();
        FillTableWithIndices();
        Command(c.view);
        for (auto [wave, offset] : c.copies) {
            CurrentFrame = wave;
            OffsetFrame = offset;
            Command(CmdCopy);
        }
        CurrentFrame = c.wave;
        OffsetFrame = c.offset;
        Command(c.command);
        EXPECT_FLOAT_EQ(FrameAt(c.lo)[0], c.first);
        EXPECT_FLOAT_EQ(FrameAt(c.hi)[SamplesPerFrame - 1], c.last);
        EXPECT_TRUE(TableHoldsIndicesOutside(c.lo, c.hi));
        EXPECT_EQ(CurrentFrame, c.wave);
        Command(CmdUndo);
        EXPECT_TRUE(TableHoldsIndicesOutside(1, 0));
    }
}

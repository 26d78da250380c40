#include "tests/test_support.h"

#include "app/commands.h"
#include "app/live_audition.h"
#include "core/history.h"

void FreshEditor() {
    InstallCommands();
    StartLiveAudition();
    HeadlessCreateWindow(MainWindowProc);
    for (float* table : {Wavetable, UndoSnapshot, TableClipboard})
        std::fill_n(table, TableSamples, 0.0f);
    for (float* frame : {FrameClipboard, AdditiveFrame}) std::fill_n(frame, SamplesPerFrame, 0.0f);
    TableClipboardLength = 0;
    RangeStart = FirstFrameEnd = LastFrameStart = RangeEnd = 0;
    NewDocument();
    StartHistory();
}

void FillTableWithIndices() {
    for (int i = 0; i < TableSamples; ++i)
        Wavetable[i] = IndexValue(i / SamplesPerFrame, i % SamplesPerFrame);
}

testing::AssertionResult TableHoldsIndicesOutside(int lo, int hi) {
    for (int i = 0; i < TableSamples; ++i) {
        const int frame = i / SamplesPerFrame;
        if ((frame < lo || frame > hi) && Wavetable[i] != IndexValue(frame, i % SamplesPerFrame))
            return testing::AssertionFailure() << "frame " << frame << " sample "
                                               << i % SamplesPerFrame << " holds " << Wavetable[i];
    }
    return testing::AssertionSuccess();
}

std::vector<Levels> LevelSets() {
    Levels spread(HarmonicCount, SilentLevel);
    for (int i = 0; i < HarmonicCount; ++i)
        if (i % 3 != 1) spread[i] = i * 41 % 130 - 10; // -10 .. 113, 99 the faintest sounding
    Levels extremes = spread;
    extremes[2] = INT_MIN;
    extremes[8] = INT_MAX;
    return {Levels(HarmonicCount, FullLevel), Levels(HarmonicCount, SilentLevel), spread, extremes};
}

void SineToSquareTable() {
    FreshEditor();
    CurrentFrame = 0;
    Command(CmdSine);
    CurrentFrame = 99;
    Command(CmdSquare);
    Command(CmdViewWavetable);
    CurrentFrame = 0;
    OffsetFrame = 99;
    Command(CmdMorph);
}

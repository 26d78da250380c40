#include "tests/test_support.h"

#include "app/main_window.h"

void FreshEditor() {
    HeadlessCreateWindow(MainWindowProc);
    for (float* table : {Wavetable, UndoSnapshot, TableClipboard})
        std::fill_n(table, TableSamples, 0.0f);
    for (float* frame : {FrameClipboard, AdditiveFrame}) std::fill_n(frame, SamplesPerFrame, 0.0f);
    TableClipboardLength = 0;
    RangeStart = FirstFrameEnd = LastFrameStart = RangeEnd = 0;
    NewDocument();
}

void Command(CommandId id) { MainWindowProc(HeadlessWindow(), WM_COMMAND, id, 0); }

float* FrameAt(int frame) { return Wavetable + frame * SamplesPerFrame; }

void FillFrame(int frame, float value) { std::fill_n(FrameAt(frame), SamplesPerFrame, value); }

float IndexValue(int frame, int n) { return static_cast<float>(frame * 1000 + n); }

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

#include "app/main_window.h"
#include "tests/test_support.h"

#include <algorithm>

#include "core/command_ids.h"

void FreshEditor() {
    HeadlessCreateWindow(MainWindowProc);
    std::fill(std::begin(Wavetable), std::end(Wavetable), 0.0f);
    std::fill(std::begin(UndoSnapshot), std::end(UndoSnapshot), 0.0f);
    std::fill(std::begin(FrameClipboard), std::end(FrameClipboard), 0.0f);
    std::fill(std::begin(TableClipboard), std::end(TableClipboard), 0.0f);
    std::fill(std::begin(AdditiveFrame), std::end(AdditiveFrame), 0.0f);
    TableClipboardLength = 0;
    RangeStart = FirstFrameEnd = LastFrameStart = RangeEnd = 0;
    NewDocument();
}

void Command(uint16_t id) { MainWindowProc(HeadlessWindow(), WM_COMMAND, id, 0); }

float* FrameAt(int frame) { return Wavetable + frame * SamplesPerFrame; }

void FillFrame(int frame, float value) { std::fill_n(FrameAt(frame), SamplesPerFrame, value); }

void FillTableWithIndices() {
    for (int i = 0; i < TableSamples; ++i)
        Wavetable[i] = static_cast<float>((i / SamplesPerFrame) * 1000 + i % SamplesPerFrame);
}

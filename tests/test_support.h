#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "core/command_ids.h"
#include "core/editor_state.h"
#include "platform/headless.h"
#include "ui/control_panel.h"
#include "ui/palette.h"

// NewDocument in a fresh headless window, with the buffers New keeps zeroed as at start-up.
void FreshEditor();
// Frame 0 a Sine, 99 a Square, morphed between, in the Wavetable view with the knobs at 0 and 99.
void SineToSquareTable();
// A menu choice.
inline void Command(CommandId id) { MainWindowProc(HeadlessWindow(), WM_COMMAND, id, 0); }
inline float* FrameAt(int frame) { return Wavetable + frame * SamplesPerFrame; }
inline void FillFrame(int frame, float value) {
    std::fill_n(FrameAt(frame), SamplesPerFrame, value);
}
inline float IndexValue(int frame, int n) { return static_cast<float>(frame * 1000 + n); }
void FillTableWithIndices(); // IndexValue(frame, n) into every sample
using TableCopy = std::vector<float>;
inline TableCopy CopyOfTable() { return TableCopy(Wavetable, Wavetable + TableSamples); }
// Whether frame j, or the whole table, still holds the bits of `before`.
inline bool FrameKept(const TableCopy& before, int j) {
    return std::memcmp(before.data() + j * SamplesPerFrame, FrameAt(j), 4 * SamplesPerFrame) == 0;
}
inline bool TableKept(const TableCopy& before) {
    return std::memcmp(before.data(), Wavetable, sizeof Wavetable) == 0;
}
inline bool AllZero(const float* begin, const float* end) {
    return std::all_of(begin, end, [](float s) { return s == 0.0f; });
}
// The Wavetable view with its knobs at `wave` and `offset`.
inline void WavetableKnobs(int wave, int offset) {
    Command(CmdViewWavetable);
    CurrentFrame = wave;
    OffsetFrame = offset;
}
// Names the first sample outside frames lo..hi (all if lo > hi) that lost its IndexValue.
testing::AssertionResult TableHoldsIndicesOutside(int lo, int hi);
using Levels = std::vector<int32_t>; // harmonic levels
// All full, all silent, a spread with every third silent, and the spread with extremes.
std::vector<Levels> LevelSets();

inline void Send(uint32_t msg, intptr_t lp = 0) { MainWindowProc(HeadlessWindow(), msg, 0, lp); }
inline void Press(int x, int y) { Send(WM_LBUTTONDOWN, PointParam(x, y)); }
inline void Move(int x, int y) { Send(WM_MOUSEMOVE, PointParam(x, y)); }
inline void Release() { Send(WM_LBUTTONUP); }

inline void Click(int x, int y) {
    Press(x, y);
    Release();
}

inline void Drag(int x0, int y0, int x1, int y1) {
    Press(x0, y0);
    Move(x1, y1);
    Release();
}

inline void FreshWindow() {
    FreshEditor();
    Send(WM_CREATE);
    Release();
}

inline void PaintView(int32_t view) {
    ViewMode = view;
    FullRepaint = true;
    Send(WM_PAINT);
}

inline Rgb PixelAt(int x, int y) { return ClientSurface(HeadlessWindow()).At(x, y); }

// The pixels of one colour in a rectangle, right and bottom excluded.
inline int CountColour(int left, int top, int right, int bottom, Rgb colour) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) count += PixelAt(x, y) == colour;
    return count;
}

// The menu bar, a line per popup: title, item ids ('-' a separator, '*' checked, [accelerator]).
inline std::string MenuLayout() {
    std::string out;
    for (const MenuPopup& popup : HeadlessMenuBar) {
        out += popup.title + ":";
        for (const MenuItem& item : popup.items) {
            if (item.separator)
                out += " -";
            else
                out += " " + std::to_string(item.id) + (item.checked ? "*" : "");
            if (!item.accelerator.empty()) out += "[" + item.accelerator + "]";
        }
        out += "\n";
    }
    return out;
}

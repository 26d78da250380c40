// Drives the headless main window through its window procedure and reads back what it painted.
#pragma once

#include "app/main_window.h"
#include "tests/test_support.h"
#include "ui/control_panel.h"
#include "ui/palette.h"

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

// Drives the headless main window through its window procedure, as the backend
// does, and reads back the raster the paint drew.
#pragma once

#include "platform/common/surface.h"
#include "platform/headless.h"
#include "ui/control_panel.h"

inline void Send(uint32_t message, intptr_t lParam = 0) {
    MainWindowProc(HeadlessWindow(), message, 0, lParam);
}
inline void Paint() { Send(WM_PAINT); }
inline void Press(int x, int y) { Send(WM_LBUTTONDOWN, PointParam(x, y)); }
inline void Move(int x, int y) { Send(WM_MOUSEMOVE, PointParam(x, y)); }
inline void Release() { Send(WM_LBUTTONUP); }
// Press and release at once, as a click does.
inline void Click(int x, int y) {
    Press(x, y);
    Release();
}

inline const Surface& Raster() { return ClientSurface(HeadlessWindow()); }
inline Rgb PixelAt(int x, int y) { return Raster().At(x, y); }

// Counts the pixels of one colour inside a rectangle (right and bottom excluded).
inline int CountColour(int left, int top, int right, int bottom, Rgb colour) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) count += PixelAt(x, y) == colour;
    return count;
}

// The real program's window on FLTK: what the entry point needs beyond the port
// layer of platform/platform.h.
#pragma once

#include "platform/platform.h"

// Connects to the X display; false when none can be opened.
bool OpenDisplay();
// The whole-number scale (1 to 4) to show the window at, on the open display:
// `requested` when it is one (0 asks nothing), else the X resource Xft.dpi
// snapped to a whole scale (platform/common/screen_scale.h), else 1.
int ScreenScale(int requested);
// Creates the main window at `scale` (from ScreenScale) with its menu bar and
// client area: WindowWidth x WindowHeight times the scale, each raster pixel an
// s x s block, pointer positions divided by s, and every font, box and dialog
// grown by s. `procedure` receives the window's messages, WM_CREATE and then
// WM_SIZE before this returns.
WindowHandle CreateAppWindow(WindowProc procedure, int scale);
// Shows the window and paints it at once.
void ShowAppWindow(WindowHandle window);
// Runs the message loop until PostQuitMessage; returns the code it was given.
int RunMessageLoop();

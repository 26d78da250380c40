// The real program's window on FLTK: what the entry point needs beyond the port
// layer of platform/platform.h.
#pragma once

#include "platform/platform.h"

// Connects to the X display; false when none can be opened.
bool OpenDisplay();
// Creates the main window with its menu bar and client area; `procedure`
// receives its messages, WM_CREATE and then WM_SIZE before this returns.
WindowHandle CreateAppWindow(WindowProc procedure);
// Shows the window and paints it at once.
void ShowAppWindow(WindowHandle window);
// Runs the message loop until PostQuitMessage; returns the code it was given.
int RunMessageLoop();

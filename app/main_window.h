// The main window's procedure: every message of the one window arrives here.
// The backends get it when the window is made.
#pragma once

#include "platform/platform.h"

intptr_t MainWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

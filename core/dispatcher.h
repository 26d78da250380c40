// Routes every menu command by its id and the current view.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Rebuilds the menu bar for the current view, sets FullRepaint and invalidates
// the whole client area: the next paint redraws everything with backgrounds.
void RefreshWindow(WindowHandle window);

// Performs the command in the current view, then refreshes the window for every
// command that can change what is shown. Unknown ids do nothing at all.
// Always returns 0.
intptr_t CommandDispatcher(WindowHandle window, uint16_t id);

// Attaching the current view's menu bar (core/command_table.h describes it) and
// refreshing the window after a change.
#pragma once

#include "platform/platform.h"

// Builds the menu bar for the current view and attaches it to the window in
// place of the previous one.
void BuildMenuBar(WindowHandle window);

// Rebuilds the menu bar for the current view, sets FullRepaint and invalidates
// the whole client area: the next paint redraws everything with backgrounds.
void RefreshWindow(WindowHandle window);

// The menu bar of each view, as plain data. It is a pure function of ViewMode,
// Polarity and PadwaveTimes10, rebuilt whole after every change.
#pragma once

#include "platform/platform.h"

// Builds the menu bar for the current view.
MenuBar DescribeMenuBar();
// Builds the menu bar for the current view and attaches it to the window in
// place of the previous one.
void BuildMenuBar(WindowHandle window);

// Rebuilds the menu bar for the current view, sets FullRepaint and invalidates
// the whole client area: the next paint redraws everything with backgrounds.
void RefreshWindow(WindowHandle window);

// Routes every menu command by its id and the current view.
#pragma once

#include "platform/platform.h"

// Performs the command in the current view, then refreshes the window for every
// command that can change what is shown. Unknown ids do nothing at all.
// Always returns 0.
intptr_t CommandDispatcher(WindowHandle window, CommandId id);

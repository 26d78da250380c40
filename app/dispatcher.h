// Routes every menu command by its id and the current view.
#pragma once

#include "platform/platform.h"

// Performs the command as the current view's menus offer it, then refreshes
// the window where its row says so. An id that the current view's menus lack
// does nothing at all. Always returns 0.
intptr_t CommandDispatcher(WindowHandle window, CommandId id);

#include "core/menus.h"

#include "core/command_table.h"
#include "core/editor_state.h"

void BuildMenuBar(WindowHandle window) { AttachMenuBar(window, DescribeMenuBar()); }

void RefreshWindow(WindowHandle window) {
    BuildMenuBar(window);
    FullRepaint = true;
    InvalidateWindow(window);
}

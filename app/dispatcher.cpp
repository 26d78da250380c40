#include "app/dispatcher.h"

#include "core/command_table.h"
#include "core/menus.h"

intptr_t CommandDispatcher(WindowHandle window, CommandId id) {
    const CommandRow* row = FindOfferedCommand(id);
    if (row == nullptr) return 0;
    if (row->handler != nullptr) row->handler(window, id);
    if (row->refresh) RefreshWindow(window);
    return 0;
}

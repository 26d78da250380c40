#include "ui/main_window.h"

#include "core/dispatcher.h"

intptr_t MainWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t) {
    switch (message) {
    case WM_COMMAND:
        return CommandDispatcher(window, static_cast<uint16_t>(wParam & 0xFFFF));
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return 0;
    }
}

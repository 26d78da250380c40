#include "ui/main_window.h"

#include "core/dispatcher.h"
#include "io/preview.h"

intptr_t MainWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t) {
    switch (message) {
    case WM_COMMAND:
        return CommandDispatcher(window, static_cast<uint16_t>(wParam & 0xFFFF));
    case WM_CLOSE:
        RemovePreviewFile();
        DestroyAppWindow(window);
        return 0;
    case WM_DESTROY:
        RemovePreviewFile();
        PostQuitMessage(0);
        return 0;
    default:
        return 0;
    }
}

// The program's entry point: reset the editor, open the window, run the loop.
#include <cstdio>

#include "app/main_window.h"
#include "core/editor_state.h"
#include "platform/gui/fltk_backend.h"

int main() {
    NewDocument();
    if (!OpenDisplay()) {
        std::fputs("Window Creation Failed!\n", stderr);
        return 1;
    }
    WindowHandle window = CreateAppWindow(MainWindowProc);
    ShowAppWindow(window);
    return RunMessageLoop();
}

// The program's entry point: reset the editor, open the window, run the loop.
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"
#include "core/editor_state.h"
#include "io/preview.h"
#include "platform/gui/fltk_backend.h"

namespace {

// Ended by a signal, the program still removes its preview folder, then ends
// as that signal ends a program.
void EndOnSignal(int signal) {
    RemovePreviewFile();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

int main() {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) std::signal(signal, EndOnSignal);
    NewDocument();
    if (!OpenDisplay()) {
        std::fputs("Window Creation Failed!\n", stderr);
        const char* display = std::getenv("DISPLAY");
        if (display != nullptr && *display != '\0')
            std::fprintf(stderr, "The X display \"%s\" cannot be opened.\n", display);
        else
            std::fputs("DISPLAY is not set: there is no X display to open.\n", stderr);
        return 1;
    }
    WindowHandle window = CreateAppWindow(MainWindowProc);
    ShowAppWindow(window);
    return RunMessageLoop();
}

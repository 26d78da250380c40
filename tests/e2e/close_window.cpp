// qarno-close-window WINDOW-ID: asks an X window to close, as a window
// manager's close box does (WM_DELETE_WINDOW).
#include <cstdlib>

#include "tools/close_request.h"

int main(int argc, char** argv) {
    Display* display = argc == 2 ? XOpenDisplay(nullptr) : nullptr;
    if (!display) return 1;
    RequestClose(display, std::strtoul(argv[1], nullptr, 0));
    XCloseDisplay(display);
    return 0;
}

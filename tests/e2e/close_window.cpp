// qarno-close-window WINDOW-ID: asks an X window to close, as a window
// manager's close box does (WM_DELETE_WINDOW).
#include <cstdio>
#include <cstdlib>

#include "tools/close_request.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WINDOW-ID\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 1;
    }
    RequestClose(display, std::strtoul(argv[1], nullptr, 0));
    XCloseDisplay(display);
    return 0;
}

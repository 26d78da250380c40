// qarno-first-paint EDITOR [RUNS [SCALE]]: starts the editor on the current X
// display RUNS times (with --scale SCALE when given) and measures the time from
// start to the first painted window (the control panel's colour on screen) and
// the resident memory of the running editor, then closes the window as its
// close box does.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/close_request.h"

namespace {

using Clock = std::chrono::steady_clock;

Window FindWindow(Display* display, const char* title) {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            if (std::strcmp(name, title) == 0) found = children[i];
            XFree(name);
        }
    }
    if (children) XFree(children);
    return found;
}

// True when the client area's first panel pixels, under the menu bar of a
// window at this scale, show the panel colour.
bool PanelPainted(Display* display, Window window, int scale) {
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 5 * scale, (25 + 5) * scale,
                          &x, &y, &child);
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return false;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel == ((131ul << 16) | (133ul << 8) | 112ul);
}

long ResidentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s EDITOR [RUNS [SCALE]]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const char* scale = argc > 3 ? argv[3] : nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 1;
    }
    std::vector<double> times;
    std::vector<long> memory;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            if (scale)
                execl(argv[1], argv[1], "--scale", scale, static_cast<char*>(nullptr));
            else
                execl(argv[1], argv[1], static_cast<char*>(nullptr));
            _exit(127);
        }
        Window window = 0;
        while (!(window = FindWindow(display, "QARNO Wavetable Maker")) ||
               !PanelPainted(display, window, scale ? std::atoi(scale) : 1)) {
            if (Clock::now() - start > std::chrono::seconds(20)) {
                std::fprintf(stderr, "%s: no painted window after 20 s\n", argv[0]);
                kill(pid, SIGKILL);
                return 1;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const long rss = ResidentKilobytes(pid);
        RequestClose(display, window);
        int status = 0;
        waitpid(pid, &status, 0);
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::printf("run %d: first paint %.1f ms, VmRSS %ld kB, exit code %d\n", run + 1, ms, rss,
                    code);
        times.push_back(ms);
        memory.push_back(rss);
    }
    std::sort(times.begin(), times.end());
    std::printf("median first paint %.1f ms (min %.1f, max %.1f); largest VmRSS %ld kB\n",
                times[times.size() / 2], times.front(), times.back(),
                *std::max_element(memory.begin(), memory.end()));
    XCloseDisplay(display);
    return 0;
}

// qarno-render: replays mouse and menu steps through the window procedure on the
// headless backend and writes the client raster as PPM pictures. The end-to-end
// tests compare the real window with these pictures, and the README's
// screenshots come from it.
//
// Steps, one a line on standard input:
//   down X Y | move X Y | up X Y     left button at client coordinates
//   rdown X Y | rup X Y              right button
//   menu TITLE|ITEM                  a menu choice, labels without '&'
//   snapshot FILE                    writes the raster as a binary PPM
//   answer PATH                      the next file dialog chooses PATH
//   key KEY                          a menu accelerator such as Ctrl+Z or Space
//   wheel X Y NOTCHES                the mouse wheel turned at client coordinates
//   restart                          starts afresh, as a new run of the program
// For every menu step it prints "menu KEY INDEX ITEMKEY": the popup title's
// mnemonic, the item's position among
// the popup's items and the item's own mnemonic ("-" when it has none or
// shares it); for every message box "box CAPTION|TEXT"; for every file
// dialog "dialog save|open PATTERN" (one without an answer cancels);
// at the end "quit CODE" when the window posted its quit message.
#include <cctype>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "app/commands.h"
#include "app/main_window.h"
#include "core/editor_state.h"
#include "platform/common/surface.h"
#include "platform/headless.h"

namespace {

WindowHandle Window() { return HeadlessWindow(); }

// Runs one input, reports the boxes and dialogs it showed, then paints when it
// asked for a repaint, as the real window does once the input has been handled.
template <typename Input> void Deliver(const Input& input) {
    const int invalidations = HeadlessInvalidations;
    const size_t boxes = HeadlessMessageBoxes.size();
    const size_t dialogs = HeadlessDialogsShown.size();
    input();
    for (size_t i = boxes; i < HeadlessMessageBoxes.size(); ++i)
        std::printf("box %s|%s\n", HeadlessMessageBoxes[i].caption.c_str(),
                    HeadlessMessageBoxes[i].text.c_str());
    for (size_t i = dialogs; i < HeadlessDialogsShown.size(); ++i)
        std::printf("dialog %s %s\n", HeadlessDialogsShown[i].save ? "save" : "open",
                    HeadlessDialogsShown[i].pattern.c_str());
    if (HeadlessInvalidations != invalidations && !HeadlessDestroyed)
        MainWindowProc(Window(), WM_PAINT, 0, 0);
}

void Send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    Deliver([&] { MainWindowProc(Window(), message, wParam, lParam); });
}

std::string WithoutMnemonic(const std::string& label) {
    std::string plain;
    for (char c : label)
        if (c != '&') plain += c;
    return plain;
}

char Mnemonic(const std::string& label) {
    const size_t amp = label.find('&');
    if (amp == std::string::npos || amp + 1 >= label.size()) return '-';
    return static_cast<char>(std::tolower(static_cast<unsigned char>(label[amp + 1])));
}

// The item's mnemonic when no other item of its popup shares it, else '-': a
// shared mnemonic only moves the selection.
char UniqueMnemonic(const MenuPopup& popup, const MenuItem& chosen) {
    const char key = Mnemonic(chosen.label);
    for (const MenuItem& item : popup.items)
        if (&item != &chosen && !item.separator && Mnemonic(item.label) == key) return '-';
    return key;
}

bool ChooseMenuItem(const std::string& title, const std::string& label) {
    for (const MenuPopup& popup : HeadlessMenuBar) {
        if (WithoutMnemonic(popup.title) != title) continue;
        int index = 0;
        for (const MenuItem& item : popup.items) {
            if (item.separator) continue;
            if (WithoutMnemonic(item.label) == label) {
                std::printf("menu %c %d %c\n", Mnemonic(popup.title), index,
                            UniqueMnemonic(popup, item));
                Send(WM_COMMAND, item.id, 0);
                return true;
            }
            ++index;
        }
    }
    return false;
}

bool WritePpm(const std::string& path) {
    const Surface& surface = ClientSurface(Window());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fprintf(out, "P6\n%d %d\n255\n", surface.width, surface.height);
    std::fwrite(surface.pixels.data(), 1, surface.pixels.size(), out);
    return std::fclose(out) == 0;
}

// What the program does from its start to the first painted window.
void Start() {
    InstallCommands();
    HeadlessCreateWindow(MainWindowProc);
    NewDocument();
    Send(WM_CREATE, 0, 0);
    Send(WM_SIZE, 0, 0);
    MainWindowProc(Window(), WM_PAINT, 0, 0);
}

bool RunStep(const std::string& line) {
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    int x = 0, y = 0;
    if (verb == "down" || verb == "move" || verb == "up" || verb == "rdown" || verb == "rup") {
        if (!(in >> x >> y)) return false;
        const uint32_t message = verb == "down"    ? WM_LBUTTONDOWN
                                 : verb == "move"  ? WM_MOUSEMOVE
                                 : verb == "up"    ? WM_LBUTTONUP
                                 : verb == "rdown" ? WM_RBUTTONDOWN
                                                   : WM_RBUTTONUP;
        Send(message, 0, PointParam(x, y));
        return true;
    }
    std::string rest;
    std::getline(in >> std::ws, rest);
    if (verb == "menu") {
        const size_t bar = rest.find('|');
        return bar != std::string::npos &&
               ChooseMenuItem(rest.substr(0, bar), rest.substr(bar + 1));
    }
    if (verb == "snapshot") return WritePpm(rest);
    if (verb == "key") {
        Deliver([&] { HeadlessPressKey(rest); });
        return true;
    }
    if (verb == "wheel") {
        int notches = 0;
        std::istringstream numbers(rest);
        if (!(numbers >> x >> y >> notches)) return false;
        Send(WM_MOUSEWHEEL, WheelParam(notches), PointParam(x, y));
        return true;
    }
    if (verb == "restart") {
        Start();
        return true;
    }
    if (verb == "answer") {
        HeadlessDialogAnswers.push_back(rest);
        return !rest.empty();
    }
    return verb.empty();
}

} // namespace

int main() {
    Start();
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!RunStep(line)) {
            std::fprintf(stderr, "qarno-render: cannot do \"%s\"\n", line.c_str());
            return 1;
        }
    }
    if (HeadlessQuitCode) std::printf("quit %d\n", *HeadlessQuitCode);
    return 0;
}

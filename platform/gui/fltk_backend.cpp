// The port layer on FLTK: one fixed-size window whose top is the menu bar and
// whose remainder is a widget that only shows the retained raster.
#include "platform/gui/fltk_backend.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/common/file_names.h"
#include "platform/common/strips.h"
#include "platform/common/surface.h"

namespace {

// The client area: turns pointer events into window messages and shows the
// raster that the paint sequence draws into.
class ClientArea : public Fl_Widget {
public:
    explicit ClientArea(WindowHandle window)
        : Fl_Widget(0, MenuBarHeight, ClientWidth, ClientHeight), window_(window) {}

    int handle(int event) override;
    void draw() override;

private:
    void Send(uint32_t message);
    WindowHandle window_;
};

// The top-level window. Being iconified and restored reaches the window
// procedure as WM_SIZE, which redraws everything with the backgrounds.
class MainFrame : public Fl_Double_Window {
public:
    explicit MainFrame(WindowHandle window)
        : Fl_Double_Window(WindowWidth, WindowHeight, "QARNO Wavetable Maker"), window_(window) {}

    int handle(int event) override;

private:
    WindowHandle window_;
    bool iconified_ = false;
};

bool QuitPosted = false;
int QuitCode = 0;
// Set once the window is being destroyed: its hiding is no iconification.
bool Destroying = false;
// Set while a menu choice's command runs: the menu bar must not be replaced from
// inside its own callback.
bool InMenuCallback = false;

}  // namespace

struct AppWindow {
    WindowProc procedure = nullptr;
    std::unique_ptr<MainFrame> window;
    Fl_Menu_Bar* menuBar = nullptr;
    ClientArea* client = nullptr;
    Surface surface;
    // The labels the menu items point to, kept alive as long as the items.
    std::vector<std::unique_ptr<std::string>> menuLabels;
    MenuBar pendingMenuBar;
    bool menuRebuildPending = false;
};

namespace {

AppWindow TheWindow;

int MainFrame::handle(int event) {
    const int result = Fl_Double_Window::handle(event);
    if (event == FL_HIDE && shown() && !Destroying && !iconified_) {
        iconified_ = true;
        window_->procedure(window_, WM_SIZE, 0, 0);
    } else if (event == FL_SHOW && iconified_) {
        iconified_ = false;
        window_->procedure(window_, WM_SIZE, 0, 0);
    }
    return result;
}

void ClientArea::Send(uint32_t message) {
    window_->procedure(window_, message, 0, PointParam(Fl::event_x() - x(), Fl::event_y() - y()));
}

int ClientArea::handle(int event) {
    const bool left = Fl::event_button() == FL_LEFT_MOUSE;
    const bool right = Fl::event_button() == FL_RIGHT_MOUSE;
    switch (event) {
    case FL_PUSH:
        // Taking the push makes FLTK deliver the drag and the release to this
        // widget even when the pointer leaves the window.
        if (left) Send(WM_LBUTTONDOWN);
        if (right) Send(WM_RBUTTONDOWN);
        return 1;
    case FL_RELEASE:
        if (left) Send(WM_LBUTTONUP);
        if (right) Send(WM_RBUTTONUP);
        return 1;
    case FL_DRAG:
    case FL_MOVE:
        Send(WM_MOUSEMOVE);
        return 1;
    case FL_ENTER:
    case FL_LEAVE:
        return 1;
    default:
        return Fl_Widget::handle(event);
    }
}

void ClientArea::draw() {
    window_->procedure(window_, WM_PAINT, 0, 0);
    const Surface& surface = window_->surface;
    fl_draw_image(surface.pixels.data(), x(), y(), surface.width, surface.height, 3);
}

void MenuChosen(Fl_Widget*, void* data) {
    InMenuCallback = true;
    TheWindow.procedure(&TheWindow, WM_COMMAND, reinterpret_cast<uintptr_t>(data), 0);
    InMenuCallback = false;
}

const char* KeepLabel(AppWindow& w, const std::string& label) {
    w.menuLabels.push_back(std::make_unique<std::string>(label));
    return w.menuLabels.back()->c_str();
}

void ApplyMenuBar(AppWindow& w, const MenuBar& bar) {
    std::vector<std::unique_ptr<std::string>> oldLabels;
    oldLabels.swap(w.menuLabels);
    std::vector<Fl_Menu_Item> items;
    for (const MenuPopup& popup : bar) {
        items.push_back({KeepLabel(w, popup.title), 0, nullptr, nullptr, FL_SUBMENU, 0, 0, 0, 0});
        for (const MenuItem& item : popup.items) {
            if (item.separator) {
                if (items.back().flags != FL_SUBMENU) items.back().flags |= FL_MENU_DIVIDER;
                continue;
            }
            const int flags = item.checked ? FL_MENU_TOGGLE | FL_MENU_VALUE : 0;
            void* id = reinterpret_cast<void*>(static_cast<uintptr_t>(item.id));
            items.push_back({KeepLabel(w, item.label), 0, MenuChosen, id, flags, 0, 0, 0, 0});
        }
        items.push_back({nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0});
    }
    items.push_back({nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0});
    w.menuBar->copy(items.data());
    w.menuBar->redraw();
}

void ApplyPendingMenuBar(void* data) {
    AppWindow& w = *static_cast<AppWindow*>(data);
    w.menuRebuildPending = false;
    ApplyMenuBar(w, w.pendingMenuBar);
}

void WindowCallback(Fl_Widget*, void*) {
    // FLTK reports Escape as a close request; the window closes only by its
    // close box (or the window manager's equivalents).
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    TheWindow.procedure(&TheWindow, WM_CLOSE, 0, 0);
}

}  // namespace

bool OpenDisplay() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    fl_open_display(display);
    return true;
}

WindowHandle CreateAppWindow(WindowProc procedure) {
    AppWindow& w = TheWindow;
    w.procedure = procedure;
    w.window = std::make_unique<MainFrame>(&w);
    w.window->xclass("QARNO_Wavetable_Maker");
    w.menuBar = new Fl_Menu_Bar(0, 0, WindowWidth, MenuBarHeight);
    w.client = new ClientArea(&w);
    w.window->end();
    w.window->size_range(WindowWidth, WindowHeight, WindowWidth, WindowHeight);
    w.window->callback(WindowCallback);
    w.procedure(&w, WM_CREATE, 0, 0);
    w.procedure(&w, WM_SIZE, 0, 0);
    return &w;
}

void ShowAppWindow(WindowHandle window) {
    window->window->show();
    Fl::flush();
}

int RunMessageLoop() {
    while (!QuitPosted && Fl::first_window())
        if (Fl::wait() < 0) break;
    return QuitCode;
}

void AttachMenuBar(WindowHandle window, const MenuBar& bar) {
    if (!InMenuCallback) {
        ApplyMenuBar(*window, bar);
        return;
    }
    window->pendingMenuBar = bar;
    if (!window->menuRebuildPending) {
        window->menuRebuildPending = true;
        Fl::add_timeout(0.0, ApplyPendingMenuBar, window);
    }
}

void InvalidateWindow(WindowHandle window) { window->client->redraw(); }

void ShowMessageBox(WindowHandle, const std::string& text, const std::string& caption) {
    // FLTK's alert box: exclamation icon, the caption as its title and one
    // button that Return presses.
    fl_close = "OK";
    fl_message_title(caption.c_str());
    fl_alert("%s", text.c_str());
}

namespace {

bool ConfirmReplace(const std::string& path) {
    fl_message_title("Confirm Save As");
    return fl_choice("%s already exists.\nDo you want to replace it?", "No", "Yes", nullptr,
                     FileNameOf(path).c_str()) == 1;
}

}  // namespace

bool AskFileName(const FileDialog& dialog, std::string& path) {
    Fl_Native_File_Chooser chooser;
    chooser.type(dialog.save ? Fl_Native_File_Chooser::BROWSE_SAVE_FILE
                             : Fl_Native_File_Chooser::BROWSE_FILE);
    if (dialog.save) chooser.options(Fl_Native_File_Chooser::SAVEAS_CONFIRM);
    chooser.title(dialog.save ? "Save As" : "Open");
    // The dialogs start in the working directory, where the preview file goes too.
    char directory[4096];
    if (getcwd(directory, sizeof directory)) chooser.directory(directory);
    // FLTK shows the pattern after the filter's name itself.
    std::string name = dialog.filterText;
    const std::string shown = " (" + dialog.pattern + ")";
    const size_t cut = name.size() - shown.size();
    if (name.size() > shown.size() && name.compare(cut, shown.size(), shown) == 0) name.erase(cut);
    const std::string filter = name + "\t" + dialog.pattern;
    chooser.filter(filter.c_str());
    for (;;) {
        if (chooser.show() != 0 || !chooser.filename() || !*chooser.filename()) return false;
        const std::string typed = chooser.filename();
        path = WithDefaultExtension(typed, dialog.extension);
        // The chooser asked about the name as typed; a name that only now got its
        // extension may still hit an existing file.
        const bool exists = access(path.c_str(), F_OK) == 0;
        if (!dialog.save || path == typed || !exists || ConfirmReplace(path)) return true;
    }
}

bool LoadBitmapResource(int id, Bitmap& bitmap) { return LoadEmbeddedBitmap(id, bitmap); }

void DestroyAppWindow(WindowHandle window) {
    Destroying = true;
    window->window->hide();
    window->procedure(window, WM_DESTROY, 0, 0);
}

void PostQuitMessage(int exitCode) {
    QuitPosted = true;
    QuitCode = exitCode;
}

Surface& ClientSurface(WindowHandle window) { return window->surface; }

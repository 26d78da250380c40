// The port layer on FLTK: one fixed-size window whose top is the menu bar and
// whose remainder is a widget that only shows the retained raster. FLTK 1.3
// has no screen scaling of its own: the whole-number scale is applied here, to
// the raster, the pointer, the fonts and the layout of the boxes and dialogs.
#include "platform/gui/fltk_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/XKBlib.h>
#include <X11/Xresource.h>

#include <algorithm>
#include <cstdlib>

#include "platform/common/file_names.h"
#include "platform/common/screen_scale.h"
#include "platform/common/strips.h"
#include "platform/gui/fltk_backend.h"

// The client area: turns pointer events into window messages and shows the
// raster that the paint sequence draws into.
class ClientArea : public Fl_Widget {
  public:
    ClientArea(WindowHandle window, int scale)
        : Fl_Widget(0, MenuBarHeight * scale, ClientWidth * scale, ClientHeight * scale),
          window_(window) {}

    int handle(int event) override;
    void draw() override;

  private:
    intptr_t ClientPoint() const;
    void Send(uint32_t message);
    WindowHandle window_;
};

// The top-level window. Being iconified and restored reaches the window
// procedure as WM_SIZE, which redraws everything with the backgrounds.
class MainFrame : public Fl_Double_Window {
  public:
    MainFrame(WindowHandle window, int scale)
        : Fl_Double_Window(WindowWidth * scale, WindowHeight * scale, "QARNO Wavetable Maker"),
          window_(window) {}

    int handle(int event) override;

  private:
    WindowHandle window_;
    bool iconified_ = false;
};

AppWindow TheWindow;
int WindowScale = 1;

namespace {

bool QuitPosted = false;
int QuitCode = 0;
// Set once the window is being destroyed: its hiding is no iconification.
bool Destroying = false;

} // namespace

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

namespace {

// A screen offset in raster pixels, rounded down: a drag beyond the window's
// left or top edge has negative offsets.
int Unscaled(int offset) {
    const int s = WindowScale;
    return offset >= 0 ? offset / s : -((s - 1 - offset) / s);
}

// The key of the event as WM_KEYDOWN carries it: FLTK names a key that types
// a character by that character unshifted, lower case.
uintptr_t EventKey() {
    const int key = Fl::event_key();
    if (key == FL_Left) return KeyLeft;
    if (key == FL_Right) return KeyRight;
    return key > ' ' && key < 0x7F ? static_cast<uintptr_t>(key) : 0;
}

void WindowCallback(Fl_Widget*, void*) {
    // FLTK reports an Escape that no widget took as a close request (the menu
    // bar takes it for Stop); the window closes only by its close box (or the
    // window manager's equivalents).
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    TheWindow.procedure(&TheWindow, WM_CLOSE, 0, 0);
}

} // namespace

intptr_t ClientArea::ClientPoint() const {
    return PointParam(Unscaled(Fl::event_x() - x()), Unscaled(Fl::event_y() - y()));
}

void ClientArea::Send(uint32_t message) { window_->procedure(window_, message, 0, ClientPoint()); }

int ClientArea::handle(int event) {
    const bool left = Fl::event_button() == FL_LEFT_MOUSE;
    const bool right = Fl::event_button() == FL_RIGHT_MOUSE;
    switch (event) {
    case FL_PUSH:
        take_focus();
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
    case FL_MOUSEWHEEL:
        // FLTK counts notches towards the user as positive.
        if (Fl::event_dy() == 0) return 0;
        window_->procedure(window_, WM_MOUSEWHEEL, WheelParam(-Fl::event_dy()), ClientPoint());
        return 1;
    case FL_ENTER:
    case FL_LEAVE:
    case FL_FOCUS:
        return 1;
    // A file dragged over the window is taken; its path comes as a paste.
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_LEAVE:
    case FL_DND_RELEASE:
        return 1;
    case FL_PASTE: {
        const std::string path = FirstDroppedPath(Fl::event_text());
        if (!path.empty()) window_->procedure(window_, WM_DROPFILES, 0, DroppedPathParam(path));
        return 1;
    }
    case FL_UNFOCUS:
        window_->procedure(window_, WM_KILLFOCUS, 0, 0);
        return 1;
    case FL_KEYDOWN: {
        // A key with a modifier, or one the procedure does not take, goes on
        // to the menu bar as a shortcut (mnemonics, accelerators, Space, Esc);
        // only the arrows come with Shift too.
        const uintptr_t key = EventKey();
        const bool arrow = key == KeyLeft || key == KeyRight;
        const int state = Fl::event_state();
        if (state & (FL_CTRL | FL_ALT | FL_META) || (!arrow && state & FL_SHIFT)) return 0;
        const intptr_t shift = state & FL_SHIFT ? KeyShiftHeld : 0;
        return window_->procedure(window_, WM_KEYDOWN, key, shift) != 0;
    }
    case FL_KEYUP:
        window_->procedure(window_, WM_KEYUP, EventKey(), 0);
        return 0;
    default:
        return Fl_Widget::handle(event);
    }
}

void ClientArea::draw() {
    window_->procedure(window_, WM_PAINT, 0, 0);
    DrawRaster(window_->surface, x(), y(), window_->enlarged);
}

void DrawRaster(const Surface& raster, int x, int y, std::vector<uint8_t>& enlarged) {
    const int s = WindowScale;
    if (s == 1) {
        fl_draw_image(raster.pixels.data(), x, y, raster.width, raster.height, 3);
        return;
    }
    EnlargeRaster(raster, s, enlarged);
    fl_draw_image(enlarged.data(), x, y, raster.width * s, raster.height * s, 3);
}

const Fl_Window* ShownMainWindow() {
    return TheWindow.window && TheWindow.window->shown() ? TheWindow.window.get() : nullptr;
}

bool OpenDisplay() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    fl_open_display(display);
    // A held key then repeats as presses alone: without it, X sends a release
    // before each repeat, which FLTK passes on when the press is not yet
    // queued, and a held note would end and start again.
    Bool detectable = False;
    XkbSetDetectableAutoRepeat(display, True, &detectable);
    return true;
}

int ScreenScale(int requested) {
    if (requested >= MinScreenScale && requested <= MaxScreenScale) return requested;
    // The resources xrdb loaded, as the display gave them when it was opened.
    const char* resources = XResourceManagerString(fl_display);
    if (!resources) return 1;
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    char* type = nullptr;
    XrmValue value = {};
    int scale = 1;
    if (database && XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
        scale = ScaleForDpi(std::strtod(value.addr, nullptr));
    if (database) XrmDestroyDatabase(database);
    return scale;
}

WindowHandle CreateAppWindow(WindowProc procedure, int scale) {
    const int s = WindowScale = std::clamp(scale, MinScreenScale, MaxScreenScale);
    // Every widget FLTK makes from here on (the menu bar and its menus, the
    // boxes, the file chooser and the prompts it shows itself) takes its font
    // size from FL_NORMAL_SIZE; scroll bars and tooltips follow it too.
    FL_NORMAL_SIZE = 14 * s;
    Fl::scrollbar_size(16 * s);
    AppWindow& w = TheWindow;
    w.procedure = procedure;
    w.window = std::make_unique<MainFrame>(&w, s);
    w.window->xclass("QARNO_Wavetable_Maker");
    w.menuBar = new Fl_Menu_Bar(0, 0, WindowWidth * s, MenuBarHeight * s);
    w.client = new ClientArea(&w, s);
    w.window->end();
    w.window->size_range(w.window->w(), w.window->h(), w.window->w(), w.window->h());
    w.window->callback(WindowCallback);
    w.procedure(&w, WM_CREATE, 0, 0);
    w.procedure(&w, WM_SIZE, 0, 0);
    return &w;
}

void ShowAppWindow(WindowHandle window) {
    window->window->show();
    window->client->take_focus();
    Fl::flush();
}

int RunMessageLoop() {
    while (!QuitPosted && Fl::first_window())
        if (Fl::wait() < 0) break;
    return QuitCode;
}

void InvalidateWindow(WindowHandle window) { window->client->redraw(); }

void ReturnKeysToMainWindow() {
    MainFrame* main = TheWindow.window.get();
    if (!main || !main->shown() || !main->visible()) return;
    // Without a window manager the X focus falls back to the root window when
    // a box closes, and the keys would go wherever the pointer happens to be.
    XSetInputFocus(fl_display, fl_xid(main), RevertToParent, CurrentTime);
    TheWindow.client->take_focus();
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

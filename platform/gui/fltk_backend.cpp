// The port layer on FLTK: one fixed-size window whose top is the menu bar and
// whose remainder is a widget that only shows the retained raster. FLTK 1.3
// has no screen scaling of its own: the whole-number scale is applied here, to
// the raster, the pointer, the fonts and the layout of the boxes and dialogs.
#include "platform/gui/fltk_backend.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Widget.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/XKBlib.h>
#include <X11/Xresource.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/common/file_names.h"
#include "platform/common/number_answer.h"
#include "platform/common/screen_scale.h"
#include "platform/common/strips.h"
#include "platform/common/surface.h"

namespace {

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

// Every raster pixel is shown as a Scale x Scale block; set once, when the
// window is made.
int Scale = 1;
// The folder the next file dialog opens in: the one the last dialog chose,
// else (empty) the working folder.
std::string LastFolder;
bool QuitPosted = false;
int QuitCode = 0;
// Set once the window is being destroyed: its hiding is no iconification.
bool Destroying = false;
// Set while a menu choice's command runs: the menu bar must not be replaced from
// inside its own callback.
bool InMenuCallback = false;

} // namespace

struct AppWindow {
    WindowProc procedure = nullptr;
    std::unique_ptr<MainFrame> window;
    Fl_Menu_Bar* menuBar = nullptr;
    ClientArea* client = nullptr;
    Surface surface;
    // The raster enlarged to the screen scale, kept from paint to paint.
    std::vector<uint8_t> enlarged;
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

// A screen offset in raster pixels, rounded down: a drag beyond the window's
// left or top edge has negative offsets.
int Unscaled(int offset) { return offset >= 0 ? offset / Scale : -((Scale - 1 - offset) / Scale); }

intptr_t ClientArea::ClientPoint() const {
    return PointParam(Unscaled(Fl::event_x() - x()), Unscaled(Fl::event_y() - y()));
}

void ClientArea::Send(uint32_t message) { window_->procedure(window_, message, 0, ClientPoint()); }

// The key of the event as WM_KEYDOWN carries it: FLTK names a key that types
// a character by that character unshifted, lower case.
uintptr_t KeyCode() {
    const int key = Fl::event_key();
    return key > ' ' && key < 0x7F ? static_cast<uintptr_t>(key) : 0;
}

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
    case FL_KEYDOWN:
        // A key with a modifier, or one the procedure does not take, goes on
        // to the menu bar as a shortcut (mnemonics, accelerators, Space, Esc).
        if (Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META)) return 0;
        return window_->procedure(window_, WM_KEYDOWN, KeyCode(), 0) != 0;
    case FL_KEYUP:
        window_->procedure(window_, WM_KEYUP, KeyCode(), 0);
        return 0;
    default:
        return Fl_Widget::handle(event);
    }
}

void ClientArea::draw() {
    window_->procedure(window_, WM_PAINT, 0, 0);
    const Surface& surface = window_->surface;
    if (Scale == 1) {
        fl_draw_image(surface.pixels.data(), x(), y(), surface.width, surface.height, 3);
        return;
    }
    EnlargeRaster(surface, Scale, window_->enlarged);
    fl_draw_image(window_->enlarged.data(), x(), y(), surface.width * Scale, surface.height * Scale,
                  3);
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

// The FLTK shortcut of an accelerator as the menus describe it: "Ctrl+" and a
// letter, "Space" or "Esc"; 0 for none.
int ShortcutOf(const std::string& accelerator) {
    if (accelerator == "Space") return ' ';
    if (accelerator == "Esc") return FL_Escape;
    const std::string control = "Ctrl+";
    if (accelerator.size() == control.size() + 1 && accelerator.rfind(control, 0) == 0)
        return FL_CTRL + std::tolower(static_cast<unsigned char>(accelerator.back()));
    return 0;
}

// Appends one popup's or submenu's items in FLTK's flat form: a separator
// marks the item before it, a submenu is its title, its items and an end mark.
void AppendMenuItems(AppWindow& w, const std::vector<MenuItem>& described,
                     std::vector<Fl_Menu_Item>& items) {
    for (const MenuItem& item : described) {
        if (item.separator) {
            if (!(items.back().flags & FL_SUBMENU)) items.back().flags |= FL_MENU_DIVIDER;
            continue;
        }
        int flags = item.checked ? FL_MENU_TOGGLE | FL_MENU_VALUE : 0;
        if (!item.enabled) flags |= FL_MENU_INACTIVE;
        if (!item.submenu.empty()) {
            items.push_back(
                {KeepLabel(w, item.label), 0, nullptr, nullptr, flags | FL_SUBMENU, 0, 0, 0, 0});
            AppendMenuItems(w, item.submenu, items);
            items.push_back({nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0});
            continue;
        }
        void* id = reinterpret_cast<void*>(static_cast<uintptr_t>(item.id));
        items.push_back({KeepLabel(w, item.label), ShortcutOf(item.accelerator), MenuChosen, id,
                         flags, 0, 0, 0, 0});
    }
}

// The menu bar owns the shortcuts: FLTK offers a key that nothing else takes to
// the menu bar, which runs the item of the current menus that has it (so a key
// whose command the view lacks does nothing) and shows it beside the label.
void ApplyMenuBar(AppWindow& w, const MenuBar& bar) {
    std::vector<std::unique_ptr<std::string>> oldLabels;
    oldLabels.swap(w.menuLabels);
    std::vector<Fl_Menu_Item> items;
    for (const MenuPopup& popup : bar) {
        items.push_back({KeepLabel(w, popup.title), 0, nullptr, nullptr, FL_SUBMENU, 0, 0, 0, 0});
        AppendMenuItems(w, popup.items, items);
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
    // FLTK reports an Escape that no widget took as a close request (the menu
    // bar takes it for Stop); the window closes only by its close box (or the
    // window manager's equivalents).
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    TheWindow.procedure(&TheWindow, WM_CLOSE, 0, 0);
}

} // namespace

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
    Scale = std::clamp(scale, MinScreenScale, MaxScreenScale);
    // Every widget FLTK makes from here on (the menu bar and its menus, the
    // boxes, the file chooser and the prompts it shows itself) takes its font
    // size from FL_NORMAL_SIZE; scroll bars and tooltips follow it too.
    FL_NORMAL_SIZE = 14 * Scale;
    Fl::scrollbar_size(16 * Scale);
    AppWindow& w = TheWindow;
    w.procedure = procedure;
    w.window = std::make_unique<MainFrame>(&w, Scale);
    w.window->xclass("QARNO_Wavetable_Maker");
    w.menuBar = new Fl_Menu_Bar(0, 0, WindowWidth * Scale, MenuBarHeight * Scale);
    w.client = new ClientArea(&w, Scale);
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

namespace {

// Text drawn as it is: FLTK's labels would read '@' as the start of a symbol,
// and a file name may hold one.
class PlainText : public Fl_Widget {
  public:
    PlainText(int x, int y, int w, int h, const std::string& text)
        : Fl_Widget(x, y, w, h), text_(text) {}
    void draw() override {
        fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
        fl_color(FL_FOREGROUND_COLOR);
        fl_draw(text_.c_str(), x(), y(), w(), h(), FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE, nullptr, 0);
    }

  private:
    std::string text_;
};

// A button's callback, and the box's own (Escape, the close box).
void HideBox(Fl_Widget* widget, void*) { widget->top_window()->hide(); }

void PressOk(Fl_Widget* button, void* pressed) {
    *static_cast<bool*>(pressed) = true;
    button->top_window()->hide();
}

// Ends the box's layout and runs it modally, centred over the main window (or
// the screen when there is none), with the focus on `focus`, until it hides.
// Escape and the close box hide it.
void RunModal(Fl_Window& box, Fl_Widget& focus) {
    box.end();
    box.callback(HideBox);
    box.set_modal();
    const Fl_Window* main =
        TheWindow.window && TheWindow.window->shown() ? TheWindow.window.get() : nullptr;
    const int centreX = main ? main->x() + main->w() / 2 : Fl::w() / 2;
    const int centreY = main ? main->y() + main->h() / 2 : Fl::h() / 2;
    box.position(centreX - box.w() / 2, centreY - box.h() / 2);
    box.show();
    focus.take_focus();
    while (box.shown()) Fl::wait();
}

// A modal box laid out at the screen scale: the caption as its title, an icon
// when `icon` is given, the text, and a row of buttons on the right: `ok`,
// which Return presses, and `cancel` (when given) before it. Escape and the
// close box close it as cancel does. True when ok was pressed.
bool RunBox(const std::string& text, const std::string& caption, const char* icon,
            const char* cancel, const char* ok) {
    const int s = Scale;
    const int margin = 10 * s, iconSize = 50 * s, buttonWidth = 90 * s, buttonHeight = 25 * s;
    fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
    int textWidth = 0, textHeight = 0;
    fl_measure(text.c_str(), textWidth, textHeight, 0);
    const int textLeft = icon ? 2 * margin + iconSize : margin;
    const int buttons = cancel ? 2 : 1;
    const int width = std::max(
        {textLeft + textWidth + margin, 300 * s, margin + buttons * (buttonWidth + margin)});
    const int bodyHeight = std::max(textHeight, icon ? iconSize : 0);
    const int buttonTop = 2 * margin + bodyHeight;
    Fl_Window box(width, buttonTop + buttonHeight + margin);
    box.copy_label(caption.c_str());
    if (icon) {
        Fl_Box* mark = new Fl_Box(margin, margin, iconSize, iconSize, icon);
        mark->box(FL_THIN_UP_BOX);
        mark->color(FL_WHITE);
        mark->labelfont(FL_TIMES_BOLD);
        mark->labelsize(34 * s);
        mark->labelcolor(FL_BLUE);
    }
    new PlainText(textLeft, margin, textWidth, bodyHeight, text);
    bool pressed = false;
    const int okLeft = width - margin - buttonWidth;
    if (cancel) {
        Fl_Button* no = new Fl_Button(okLeft - margin - buttonWidth, buttonTop, buttonWidth,
                                      buttonHeight, cancel);
        no->callback(HideBox);
    }
    Fl_Return_Button* yes = new Fl_Return_Button(okLeft, buttonTop, buttonWidth, buttonHeight, ok);
    yes->callback(PressOk, &pressed);
    RunModal(box, *yes);
    return pressed;
}

} // namespace

void ShowMessageBox(WindowHandle, const std::string& text, const std::string& caption) {
    // Only errors carry the exclamation mark; every box has one OK button.
    RunBox(text, caption, caption == "Error" ? "!" : nullptr, nullptr, "OK");
}

namespace {

// What the number box's OK button reads and writes.
// The red line where a box refuses what was typed.
Fl_Box* RefusalLine(int x, int y, int w, int h) {
    Fl_Box* line = new Fl_Box(x, y, w, h);
    line->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    line->labelsize(FL_NORMAL_SIZE);
    line->labelcolor(FL_RED);
    return line;
}

// Cancel and OK (which Return presses) at the right of a box `width` wide.
void AddCancelAndOk(int width, int top, Fl_Callback* take, void* data) {
    const int margin = 10 * Scale, buttonWidth = 90 * Scale, buttonHeight = 25 * Scale;
    const int okLeft = width - margin - buttonWidth;
    Fl_Button* cancel =
        new Fl_Button(okLeft - margin - buttonWidth, top, buttonWidth, buttonHeight, "Cancel");
    cancel->callback(HideBox);
    Fl_Return_Button* ok = new Fl_Return_Button(okLeft, top, buttonWidth, buttonHeight, "OK");
    ok->callback(take, data);
}

struct NumberEntry {
    const NumberQuestion* question;
    Fl_Input* field;
    Fl_Box* refusal;
    std::string refusalLine;
    std::optional<double> accepted;
};

// OK takes a number it can accept and closes the box; any other answer is
// refused in place, the field selected for typing again.
void TakeNumber(Fl_Widget* button, void* data) {
    NumberEntry& entry = *static_cast<NumberEntry*>(data);
    entry.accepted = ReadNumberAnswer(entry.field->value(), *entry.question);
    if (entry.accepted) {
        button->top_window()->hide();
        return;
    }
    entry.refusal->label(entry.refusalLine.c_str());
    entry.refusal->redraw();
    entry.field->take_focus();
    entry.field->position(entry.field->size(), 0);
}

} // namespace

bool AskNumber(WindowHandle, const NumberQuestion& question, double& value) {
    const int s = Scale;
    const int margin = 10 * s, lineHeight = 20 * s, fieldHeight = 25 * s;
    const int buttonWidth = 90 * s, buttonHeight = 25 * s;
    NumberEntry entry{&question, nullptr, nullptr, NumberRangeLine(question), std::nullopt};
    fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
    const int textWidth = std::max(static_cast<int>(fl_width(question.question.c_str())),
                                   static_cast<int>(fl_width(entry.refusalLine.c_str())));
    const int width =
        std::max({margin + textWidth + margin, 300 * s, 3 * margin + 2 * buttonWidth});
    const int fieldTop = margin + lineHeight;
    const int refusalTop = fieldTop + fieldHeight + margin / 2;
    const int buttonTop = refusalTop + lineHeight + margin;
    Fl_Window box(width, buttonTop + buttonHeight + margin);
    box.copy_label("QARNO Wavetable Maker");
    new PlainText(margin, margin, width - 2 * margin, lineHeight, question.question);
    const std::string offered = NumberText(value);
    entry.field = new Fl_Input(margin, fieldTop, width - 2 * margin, fieldHeight);
    entry.field->textsize(FL_NORMAL_SIZE);
    entry.field->value(offered.c_str());
    entry.field->position(entry.field->size(), 0);
    entry.refusal = RefusalLine(margin, refusalTop, width - 2 * margin, lineHeight);
    AddCancelAndOk(width, buttonTop, TakeNumber, &entry);
    RunModal(box, *entry.field);
    if (!entry.accepted) return false;
    value = *entry.accepted;
    return true;
}

namespace {

// The import dialog's fields, read when OK is pressed: the span must be two
// numbers of seconds, else the box stays open and says so.
struct ImportEntry {
    ImportDialog* dialog;
    Fl_Input* pitch;
    Fl_Input* from;
    Fl_Input* to;
    Fl_Box* refusal;
    bool accepted = false;
};

void TakeImport(Fl_Widget* button, void* data) {
    ImportEntry& entry = *static_cast<ImportEntry*>(data);
    const std::optional<double> from = ReadSecondsAnswer(entry.from->value());
    const std::optional<double> to = from ? ReadSecondsAnswer(entry.to->value()) : std::nullopt;
    if (!to) {
        entry.refusal->label("Start and end are seconds, such as 0.25");
        entry.refusal->redraw();
        return;
    }
    entry.dialog->pitch = entry.pitch->value();
    entry.dialog->from = *from;
    entry.dialog->to = *to;
    entry.accepted = true;
    button->top_window()->hide();
}

std::string SecondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

} // namespace

bool AskImportChoices(WindowHandle, ImportDialog& dialog) {
    const int s = Scale;
    const int margin = 10 * s, line = 22 * s, labelWidth = 190 * s, fieldWidth = 250 * s;
    const int buttonHeight = 25 * s;
    const int width = 2 * margin + labelWidth + fieldWidth;
    Fl_Window box(width, 2 * margin + 8 * line + buttonHeight);
    box.copy_label("Import Audio");
    const std::string rows[3][2] = {{"File:", dialog.fileName},
                                    {"Length:", dialog.length},
                                    {"Detected pitch:", dialog.detected}};
    int top = margin;
    for (const auto& row : rows) {
        new PlainText(margin, top, labelWidth, line, row[0]);
        new PlainText(margin + labelWidth, top, fieldWidth, line, row[1]);
        top += line;
    }
    const std::string from = SecondsText(dialog.from), to = SecondsText(dialog.to);
    ImportEntry entry{&dialog, nullptr, nullptr, nullptr, nullptr};
    Fl_Input** fields[3] = {&entry.pitch, &entry.from, &entry.to};
    const char* labels[3] = {"Other pitch (Hz or note):", "Start (seconds):", "End (seconds):"};
    const std::string values[3] = {dialog.pitch, from, to};
    for (int i = 0; i < 3; ++i) {
        top += i == 0 ? line / 2 : 0;
        new PlainText(margin, top + 3 * s, labelWidth, line, labels[i]);
        *fields[i] = new Fl_Input(margin + labelWidth, top, fieldWidth, line);
        (*fields[i])->textsize(FL_NORMAL_SIZE);
        (*fields[i])->value(values[i].c_str());
        top += line + margin / 2;
    }
    entry.refusal = RefusalLine(margin, top, width - 2 * margin, line);
    AddCancelAndOk(width, box.h() - margin - buttonHeight, TakeImport, &entry);
    RunModal(box, *entry.pitch);
    return entry.accepted;
}

namespace {

bool ConfirmReplace(const std::string& path) {
    return RunBox(FileNameOf(path) + " already exists.\nDo you want to replace it?",
                  "Confirm Save As", "?", "No", "Yes");
}

// Grows a widget tree laid out for scale 1 by the screen scale. Positions are
// relative to the window, so every one is simply multiplied; a group is moved
// alone (Fl_Widget::resize) after its children, and forgets its old layout.
void ScaleLayout(Fl_Widget& widget) {
    Fl_Group* group = widget.as_group();
    if (group)
        for (int i = 0; i < group->children(); ++i) ScaleLayout(*group->child(i));
    const bool window = widget.as_window() != nullptr;
    widget.Fl_Widget::resize(window ? widget.x() : widget.x() * Scale,
                             window ? widget.y() : widget.y() * Scale, widget.w() * Scale,
                             widget.h() * Scale);
    if (group) group->init_sizes();
}

// Calls `visit` with every widget inside the group, depth first.
template <typename Visit> void ForEachWidget(Fl_Group& group, const Visit& visit) {
    for (int i = 0; i < group.children(); ++i) {
        Fl_Widget* child = group.child(i);
        visit(*child);
        if (child->as_group()) ForEachWidget(*child->as_group(), visit);
    }
}

// FLTK 1.3's chooser makes a typed name a full path at every key, reading it
// against the working folder, and leaves the cursor at the field's start, so
// the next key would land in front of the path. This puts the cursor back
// after what was typed.
struct NameField {
    Fl_Callback* chooserCallback = nullptr;
    void* chooserData = nullptr;
};

void KeepCursorAfterName(Fl_Widget* widget, void* data) {
    Fl_Input_& input = *static_cast<Fl_Input_*>(widget);
    const NameField& field = *static_cast<const NameField*>(data);
    const std::string typed = input.value();
    const int cursor = input.position();
    field.chooserCallback(widget, field.chooserData);
    const std::string full = input.value();
    const size_t added = full.size() - typed.size();
    if (!typed.empty() && typed[0] != '/' && full.size() > typed.size() &&
        full.compare(added, typed.size(), typed) == 0)
        input.position(cursor + static_cast<int>(added));
}

void KeepFilter(Fl_Widget*, void*) {}

// The chooser's own parts that the program changes: its filter list (FLTK
// follows the given filter with "All Files" and "Custom Filter"; the program
// offers its own filter alone) and its name field.
void AdjustChooser(Fl_Group& window, NameField& field, const std::string& filterText) {
    ForEachWidget(window, [&](Fl_Widget& widget) {
        if (Fl_Choice* choice = dynamic_cast<Fl_Choice*>(&widget)) {
            while (choice->size() > 2) choice->remove(1);
            // The one filter shows the program's text even where the chooser
            // reads its patterns in its own syntax; choosing it again changes
            // nothing, so the chooser need not read the text back.
            choice->replace(0, filterText.c_str());
            choice->callback(KeepFilter);
        }
        if (dynamic_cast<Fl_File_Input*>(&widget)) {
            field.chooserCallback = widget.callback();
            field.chooserData = widget.user_data();
            widget.callback(KeepCursorAfterName, &field);
        }
    });
}

} // namespace

// FLTK's chooser reads a typed name that is no full path against the working
// folder, whatever folder it shows. While a dialog runs, the working folder is
// the one it opens in, so a name typed there lands there; the old one comes
// back when the dialog ends.
class DialogFolder {
  public:
    explicit DialogFolder(const std::string& folder)
        : previous_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        // A folder that has gone since leaves the dialog in the working folder.
        moved_ = previous_ >= 0 && !folder.empty() && chdir(folder.c_str()) == 0;
    }
    ~DialogFolder() {
        if (moved_ && fchdir(previous_) != 0) std::perror("qarno-wavetable-maker: working folder");
        if (previous_ >= 0) close(previous_);
    }
    DialogFolder(const DialogFolder&) = delete;
    DialogFolder& operator=(const DialogFolder&) = delete;

  private:
    int previous_;
    bool moved_ = false;
};

bool AskFileName(const FileDialog& dialog, std::string& path) {
    const DialogFolder folder(LastFolder);
    char shown[4096];
    if (!getcwd(shown, sizeof shown)) shown[0] = '\0';
    // FLTK's own chooser, the same on every machine. The filter's text names its
    // pattern in parentheses, which is how the chooser reads it.
    // The chooser matches the dialog's pattern, written in its own syntax
    // ("*.{wav,flac}" for several extensions).
    const std::string filter =
        dialog.filterText.substr(0, dialog.filterText.find('(')) + "(" + dialog.pattern + ")";
    NameField field;
    Fl_File_Chooser chooser(shown, filter.c_str(),
                            dialog.save ? Fl_File_Chooser::CREATE : Fl_File_Chooser::SINGLE,
                            dialog.save ? "Save As" : "Open");
    Fl_Window& window = *chooser.newButton->window();
    AdjustChooser(window, field, dialog.filterText);
    if (Scale > 1) ScaleLayout(window);
    for (;;) {
        chooser.show();
        while (chooser.shown()) Fl::wait();
        const char* chosen = chooser.value();
        if (!chosen || !*chosen) return false;
        // Made a full path, so that it still holds when the working folder is back.
        const std::string full = chosen[0] == '/' ? chosen : std::string(shown) + "/" + chosen;
        path = WithDefaultExtension(full, dialog.extension);
        if (dialog.save && access(path.c_str(), F_OK) == 0 && !ConfirmReplace(path)) continue;
        LastFolder = FolderOf(path);
        return true;
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

// The menu bar: the menus' plain description turned into FLTK's menu items,
// whose choice reaches the window procedure as WM_COMMAND.
#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>

#include <cctype>

#include "platform/gui/fltk_window.h"

namespace {

// Set while a menu choice's command runs: the menu bar must not be replaced from
// inside its own callback.
bool InMenuCallback = false;

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
        if (item.radio) flags = item.checked ? FL_MENU_RADIO | FL_MENU_VALUE : FL_MENU_RADIO;
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

} // namespace

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

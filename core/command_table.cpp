#include "core/command_table.h"

#include <string>

#include "core/editor_state.h"

namespace {

const CommandRow* Rows = nullptr;
size_t RowCount = 0;

bool Offered(const CommandRow& row) { return (row.views & ViewBit(ViewMode)) != 0; }

MenuItem ItemOf(const CommandRow& row) {
    MenuItem item;
    if (row.label == nullptr) {
        item.separator = true;
        return item;
    }
    item.label = row.labelOf != nullptr ? row.labelOf(row.id) : row.label;
    item.id = row.id;
    item.checked = row.checked != nullptr && row.checked(row.id);
    item.radio = row.radio;
    item.enabled = row.enabled == nullptr || row.enabled(row.id);
    item.accelerator = row.accelerator;
    return item;
}

// Adds a row's item to its popup, inside its submenu when it names one (the
// submenu stands where its first row does).
void AddItem(MenuPopup& popup, const CommandRow& row) {
    if (row.submenu == nullptr) {
        popup.items.push_back(ItemOf(row));
        return;
    }
    for (MenuItem& item : popup.items) {
        if (!item.submenu.empty() && item.label == row.submenu) {
            item.submenu.push_back(ItemOf(row));
            return;
        }
    }
    MenuItem title;
    title.label = row.submenu;
    title.submenu.push_back(ItemOf(row));
    popup.items.push_back(title);
}

} // namespace

uint8_t ViewBit(int32_t viewMode) {
    switch (viewMode) {
    case ViewWaveform:
        return InWaveform;
    case ViewWavetable:
        return InWavetable;
    case ViewAdditive:
        return InAdditive;
    case ViewPadwave:
        return InPadwave;
    default:
        return 0;
    }
}

void InstallCommandTable(const CommandRow* rows, size_t count) {
    Rows = rows;
    RowCount = count;
}

const CommandRow* FindOfferedCommand(CommandId id) {
    for (size_t i = 0; i < RowCount; ++i)
        if (Rows[i].id == id && Rows[i].label != nullptr && Offered(Rows[i])) return &Rows[i];
    return nullptr;
}

MenuBar DescribeMenuBar() {
    MenuBar bar;
    for (size_t i = 0; i < RowCount; ++i) {
        const CommandRow& row = Rows[i];
        bool known = false;
        for (const MenuPopup& popup : bar) known = known || popup.title == row.popup;
        if (!known) bar.push_back({row.popup, {}});
    }
    for (MenuPopup& popup : bar)
        for (size_t i = 0; i < RowCount; ++i)
            if (popup.title == Rows[i].popup && Offered(Rows[i])) AddItem(popup, Rows[i]);
    MenuBar offered;
    for (MenuPopup& popup : bar)
        if (!popup.items.empty()) offered.push_back(std::move(popup));
    return offered;
}

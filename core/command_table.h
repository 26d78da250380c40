// The one table of menu commands: each row names a command once, with its
// label, the views whose menus offer it, its key, what it does and whether the
// window refreshes after it. The menu bars, the accelerators and the dispatch
// all derive from it, so a command runs only where its view's menus offer it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

// The views a row is offered in, one bit a view.
enum : uint8_t {
    InWaveform = 1,
    InWavetable = 2,
    InAdditive = 4,
    InPadwave = 8,
    InTableViews = InWaveform | InWavetable,
    InEditViews = InWaveform | InWavetable | InAdditive,
    InEveryView = InWaveform | InWavetable | InAdditive | InPadwave,
};

// The bit of a ViewMode value; 0 for a value that is no view.
uint8_t ViewBit(int32_t viewMode);

struct CommandRow {
    const char* popup; // the menu bar's popup title, with its '&' mnemonic
    const char* label; // nullptr for a separator
    CommandId id;      // 0 for a separator
    uint8_t views;     // where the menus offer it; it runs only there
    const char* accelerator;
    void (*handler)(WindowHandle window, CommandId id); // nullptr: offered, does nothing
    bool refresh;                                       // RefreshWindow after the handler
    bool (*checked)(CommandId id) = nullptr;            // nullptr: never checked
    // Rows of one popup with the same submenu title are grouped under it.
    const char* submenu = nullptr;
    bool (*enabled)(CommandId id) = nullptr; // nullptr: always enabled
    // The label as it reads now, for an item whose text changes; nullptr: `label`.
    std::string (*labelOf)(CommandId id) = nullptr;
    bool radio = false; // one of a group of choices (see MenuItem::radio)
    // Whether the command may change the table, the harmonic levels or the pad,
    // so that the history compares the document after it. Only rows that
    // refresh the window can: a change the window does not show is no step.
    bool changesDocument = true;
};

// The table the menus and the dispatcher read; the application installs its
// own before the first window is made.
void InstallCommandTable(const CommandRow* rows, size_t count);
// The row of `id` that the current view offers, or nullptr.
const CommandRow* FindOfferedCommand(CommandId id);
// The menu bar of the current view: the popups in the order their first rows
// stand in the table, each with its rows that the current view offers, in table
// order; a popup without such rows is left out.
MenuBar DescribeMenuBar();

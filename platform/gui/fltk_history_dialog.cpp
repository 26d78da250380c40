// The history dialog on FLTK: the entries in a list, newest first, with their
// number, label, time and what changed. Moving the selection (mouse, Up, Down)
// has the editor show that entry; Enter or a double click takes it.
#include <FL/Fl.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>

#include "platform/gui/fltk_boxes.h"
#include "platform/gui/fltk_window.h"
#include "platform/history_dialog.h"

namespace {

struct HistoryChoice {
    const HistoryDialog* dialog = nullptr;
    Fl_Hold_Browser* list = nullptr;
    int shown = 1;
    bool accepted = false;
};

void TakeEntry(Fl_Widget* widget, void* data) {
    HistoryChoice& choice = *static_cast<HistoryChoice*>(data);
    if (choice.list->value() < 1) return;
    choice.accepted = true;
    widget->top_window()->hide();
}

// A list in which Enter does what OK does.
using EntryList = EnterTakes<Fl_Hold_Browser, TakeEntry>;

void SelectionMoved(Fl_Widget* widget, void* data) {
    HistoryChoice& choice = *static_cast<HistoryChoice*>(data);
    const int number = choice.list->value();
    if (number < 1) { // a click below the last row keeps the selection
        choice.list->select(choice.shown);
        return;
    }
    if (number != choice.shown) choice.dialog->show(choice.shown = number);
    if (Fl::event_clicks() > 0 && Fl::event() == FL_RELEASE) TakeEntry(widget, data);
}

// Each column starts with "@." so that no text in it reads as a format code.
std::string Line(int number, const HistoryRow& row) {
    return "@." + std::to_string(number) + "\t@." + row.label + "\t@." + row.time + "\t@." +
           row.changes;
}

} // namespace

bool AskHistoryEntry(WindowHandle, const HistoryDialog& dialog, int& number) {
    const BoxLayout l(WindowScale);
    const int width = 2 * l.margin + 560 * WindowScale;
    const int listHeight = 320 * WindowScale;
    const int buttonTop = l.margin + listHeight + l.margin;
    int columns[4]; // number, label, time, what changed
    const int widths[4] = {50, 260, 80, 0};
    for (int i = 0; i < 4; ++i) columns[i] = widths[i] * WindowScale;
    Fl_Window box(width, BoxHeight(l, buttonTop));
    box.copy_label("History");
    HistoryChoice choice;
    choice.dialog = &dialog;
    choice.list = new EntryList(l.margin, l.margin, width - 2 * l.margin, listHeight);
    choice.list->column_widths(columns);
    choice.list->textsize(FL_NORMAL_SIZE);
    for (size_t i = 0; i < dialog.rows.size(); ++i)
        choice.list->add(Line(static_cast<int>(i) + 1, dialog.rows[i]).c_str());
    choice.list->select(1);
    choice.list->when(FL_WHEN_CHANGED | FL_WHEN_NOT_CHANGED);
    choice.list->callback(SelectionMoved, &choice);
    AddButtons(l, width, buttonTop, "Cancel", "OK", TakeEntry, &choice);
    RunModal(box, *choice.list, true);
    if (!choice.accepted) return false;
    number = choice.list->value();
    return true;
}

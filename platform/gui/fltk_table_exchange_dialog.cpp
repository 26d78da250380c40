// The Export For and Import Wavetable dialogs: rows of a label and a field,
// a red line for what OK refuses, and Cancel and OK, at the screen scale.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gui/fltk_boxes.h"
#include "platform/gui/fltk_window.h"
#include "platform/table_exchange_dialog.h"

namespace {

// A box of rows growing downwards; each row a label and a widget beside it.
struct Rows {
    BoxLayout l{WindowScale};
    int width = l.margin * 2 + l.labelWidth + l.fieldWidth;
    int top = l.margin;

    // Widens the fields to show the widest of texts whole, with `room` beside
    // it (a choice's arrow); before the first row.
    void FitFields(const std::vector<std::string>& texts, int room) {
        fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
        for (const std::string& text : texts)
            l.fieldWidth = std::max(l.fieldWidth, static_cast<int>(fl_width(text.c_str())) + room);
        width = l.margin * 2 + l.labelWidth + l.fieldWidth;
    }
    template <typename Widget> Widget* Add(const std::string& label) {
        if (!label.empty()) new PlainText(l.margin, top + l.labelDrop, l.labelWidth, l.row, label);
        Widget* widget = new Widget(l.margin + l.labelWidth, top, l.fieldWidth, l.row);
        top += l.row + l.margin / 2;
        return widget;
    }
    Fl_Choice* Choice(const std::string& label, const std::vector<std::string>& items, int value) {
        Fl_Choice* choice = Add<Fl_Choice>(label);
        for (const std::string& item : items) choice->add(item.c_str());
        choice->value(value);
        return choice;
    }
    Fl_Input* Input(const std::string& label, const std::string& value) {
        Fl_Input* input = Add<Fl_Input>(label);
        input->textsize(FL_NORMAL_SIZE);
        input->value(value.c_str());
        return input;
    }
    Fl_Box* Refusal() {
        Fl_Box* line = new Fl_Box(l.margin, top, width - 2 * l.margin, l.line);
        line->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
        line->labelcolor(FL_RED);
        top += l.line + l.margin;
        return line;
    }
};

// What OK reads: the dialog's fields from the widgets, given to the check.
template <typename Dialog> struct Entry {
    Dialog* dialog;
    const DialogCheck<Dialog>* check;
    void (*read)(Entry& entry, Dialog& fields);
    std::vector<Fl_Widget*> widgets;
    Fl_Box* refusal = nullptr;
    std::string refusalText;
    bool accepted = false;
};

template <typename Dialog> void Take(Fl_Widget* button, void* data) {
    auto& entry = *static_cast<Entry<Dialog>*>(data);
    Dialog fields = *entry.dialog;
    entry.read(entry, fields);
    entry.refusalText = (*entry.check)(fields);
    entry.accepted = CloseOrRefuse(button, entry.refusal, entry.refusalText);
    if (entry.accepted) *entry.dialog = fields;
}

int ChoiceAt(const Entry<ExportDialog>& e, int i) {
    return static_cast<Fl_Choice*>(e.widgets[i])->value();
}
const char* TextAt(const Entry<ExportDialog>& e, int i) {
    return static_cast<Fl_Input*>(e.widgets[i])->value();
}

// The export dialog's widgets, in order: target, between, level, name, slot,
// frames, samples, bits, tag, file.
void ReadExport(Entry<ExportDialog>& e, ExportDialog& f) {
    f.target = ChoiceAt(e, 0);
    f.spectral = ChoiceAt(e, 1) == 1;
    f.loudest = static_cast<Fl_Check_Button*>(e.widgets[2])->value() != 0;
    f.name = TextAt(e, 3);
    f.slot = TextAt(e, 4);
    f.frames = TextAt(e, 5);
    f.samples = TextAt(e, 6);
    f.bits = ChoiceAt(e, 7);
    f.tag = ChoiceAt(e, 8);
    f.wt = ChoiceAt(e, 9) == 1;
}

// The Blofeld's fields and the custom layout's are open only for their target.
void FollowTarget(Fl_Widget*, void* data) {
    const auto& e = *static_cast<Entry<ExportDialog>*>(data);
    const int target = ChoiceAt(e, 0);
    const bool blofeld = e.dialog->targets[target].find("Blofeld") != std::string::npos;
    for (int i = 3; i < 10; ++i) {
        const bool open = i < 5 ? blofeld : target == e.dialog->customTarget;
        if (open)
            e.widgets[i]->activate();
        else
            e.widgets[i]->deactivate();
    }
}

void ReadImport(Entry<ImportTableDialog>& e, ImportTableDialog& f) {
    f.frameSize = static_cast<Fl_Input*>(e.widgets[0])->value();
    f.keepCount = static_cast<Fl_Round_Button*>(e.widgets[2])->value() != 0;
    f.spectral = static_cast<Fl_Choice*>(e.widgets[3])->value() == 1;
}

template <typename Dialog> bool Run(Fl_Window& box, Rows& rows, Entry<Dialog>& entry) {
    entry.refusal = rows.Refusal();
    AddButtons(rows.l, rows.width, rows.top, "Cancel", "OK", Take<Dialog>, &entry);
    box.size(rows.width, BoxHeight(rows.l, rows.top));
    RunModal(box, *entry.widgets[0]);
    return entry.accepted;
}

const std::vector<std::string> Betweens = {"Crossfade", "Spectral"};

} // namespace

bool AskExportChoices(WindowHandle, ExportDialog& dialog, const DialogCheck<ExportDialog>& check) {
    Rows rows;
    rows.FitFields(dialog.targets, rows.l.row + rows.l.margin);
    Fl_Window box(rows.width, rows.width);
    box.copy_label("Export For");
    Entry<ExportDialog> e{&dialog, &check, ReadExport, {}, nullptr, {}, false};
    e.widgets.push_back(rows.Choice("Target:", dialog.targets, dialog.target));
    e.widgets.push_back(rows.Choice("Frames between:", Betweens, dialog.spectral ? 1 : 0));
    auto* level = rows.Add<Fl_Check_Button>("");
    level->copy_label("Loudest sample at -0.1 dBFS");
    level->value(dialog.loudest);
    e.widgets.push_back(level);
    e.widgets.push_back(rows.Input("Blofeld name:", dialog.name));
    e.widgets.back()->tooltip("Empty: the file's name");
    e.widgets.push_back(rows.Input("Blofeld slot (80 to 118):", dialog.slot));
    e.widgets.push_back(rows.Input("Custom frames:", dialog.frames));
    e.widgets.push_back(rows.Input("Custom samples a frame:", dialog.samples));
    e.widgets.push_back(
        rows.Choice("Custom samples as:", {"16-bit", "24-bit", "32-bit float"}, dialog.bits));
    e.widgets.push_back(rows.Choice("Custom tag:", {"clm", "srge", "none"}, dialog.tag));
    e.widgets.push_back(rows.Choice("Custom file:", {"WAV (.wav)", "Surge XT (.wt)"}, dialog.wt));
    e.widgets[0]->callback(FollowTarget, &e);
    FollowTarget(nullptr, &e);
    return Run(box, rows, e);
}

bool AskImportTableChoices(WindowHandle, ImportTableDialog& dialog,
                           const DialogCheck<ImportTableDialog>& check) {
    Rows rows;
    rows.FitFields({dialog.layout}, 0);
    Fl_Window box(rows.width, rows.width);
    box.copy_label("Import Wavetable");
    for (const auto& [label, text] : {std::pair<const char*, std::string>{"File:", dialog.fileName},
                                      {"Found:", dialog.layout}}) {
        new PlainText(rows.l.margin, rows.top, rows.l.labelWidth, rows.l.row, label);
        new PlainText(rows.l.margin + rows.l.labelWidth, rows.top,
                      rows.width - rows.l.labelWidth - 2 * rows.l.margin, rows.l.row, text);
        rows.top += rows.l.row;
    }
    rows.top += rows.l.margin / 2;
    Entry<ImportTableDialog> e{&dialog, &check, ReadImport, {}, nullptr, {}, false};
    Fl_Input* size = rows.Input("Frame size:", dialog.frameSize);
    if (!dialog.askFrameSize) size->deactivate();
    e.widgets.push_back(size);
    for (const char* label : {"Fit to 100 frames", "Keep frame count"}) {
        auto* button = rows.Add<Fl_Round_Button>("");
        button->copy_label(label);
        button->type(FL_RADIO_BUTTON);
        e.widgets.push_back(button);
    }
    static_cast<Fl_Round_Button*>(e.widgets[dialog.keepCount ? 2 : 1])->setonly();
    e.widgets.push_back(rows.Choice("Frames between:", Betweens, dialog.spectral ? 1 : 0));
    return Run(box, rows, e);
}

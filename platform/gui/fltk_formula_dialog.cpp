// The formula dialog on FLTK: the mode, the formula and phase fields, the line
// that tells what is wrong, the preview raster at the screen scale, Listen,
// Cancel and OK. Every change of the mode or a text has the editor compute
// the formula again.
#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Toggle_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "platform/gui/fltk_boxes.h"
#include "platform/gui/fltk_window.h"

namespace {

struct FormulaEntry {
    FormulaDialog* dialog = nullptr;
    Formula formula; // as the fields hold it
    Surface raster = BlankSurface(FormulaPreviewWidth, FormulaPreviewHeight);
    Fl_Choice* mode = nullptr;
    Fl_Input* text = nullptr;
    Fl_Input* phase = nullptr;
    PlainText* line = nullptr;
    RasterView* preview = nullptr;
    Fl_Return_Button* ok = nullptr;
    bool wrong = false;
    bool accepted = false;
};

// OK, and Enter in a field: takes a formula without an error.
void TakeFormula(Fl_Widget* button, void* data) {
    FormulaEntry& entry = *static_cast<FormulaEntry*>(data);
    if (entry.wrong) return;
    entry.accepted = true;
    button->top_window()->hide();
}

// A field in which Enter does what OK does, keeping the focus and the cursor
// where they are when OK is refused.
using FormulaField = EnterTakes<Fl_Input, TakeFormula>;

bool HarmonicsChosen(const FormulaEntry& entry) { return entry.mode->value() == 1; }

// Takes the fields into the formula, has the editor compute it and shows what
// it says: the error in red with OK refused, or the notice.
void Recompute(FormulaEntry& entry) {
    Formula& formula = entry.formula;
    formula.mode = HarmonicsChosen(entry) ? FormulaMode::Harmonics : FormulaMode::Wave;
    (formula.mode == FormulaMode::Wave ? formula.wave : formula.amplitude) = entry.text->value();
    formula.phase = entry.phase->value();
    const FormulaCheck check = entry.dialog->preview(formula, entry.raster);
    entry.wrong = !check.error.empty();
    entry.line->show_text(entry.wrong ? check.error : check.notice,
                          entry.wrong ? FL_RED : FL_FOREGROUND_COLOR);
    if (entry.wrong)
        entry.ok->deactivate();
    else
        entry.ok->activate();
    entry.preview->redraw();
}

void TextChanged(Fl_Widget*, void* data) { Recompute(*static_cast<FormulaEntry*>(data)); }

// The field shows the chosen mode's text; Phase is there in Harmonics mode.
void ShowMode(FormulaEntry& entry) {
    const bool harmonics = HarmonicsChosen(entry);
    entry.text->value((harmonics ? entry.formula.amplitude : entry.formula.wave).c_str());
    entry.text->position(entry.text->size());
    if (harmonics)
        entry.phase->show();
    else
        entry.phase->hide();
}

void ModeChanged(Fl_Widget*, void* data) {
    FormulaEntry& entry = *static_cast<FormulaEntry*>(data);
    ShowMode(entry);
    Recompute(entry);
}

void ListenToggled(Fl_Widget* button, void* data) {
    static_cast<FormulaEntry*>(data)->dialog->listen(
        static_cast<Fl_Toggle_Button*>(button)->value() != 0);
}

Fl_Input* AddField(const BoxLayout& l, int left, int top, int width, const char* label,
                   const std::string& text, FormulaEntry& entry) {
    Fl_Input* field = new FormulaField(left, top, width, l.fieldHeight, label);
    field->textsize(FL_NORMAL_SIZE);
    field->value(text.c_str());
    field->when(FL_WHEN_CHANGED);
    field->callback(TextChanged, &entry);
    return field;
}

} // namespace

bool AskFormula(WindowHandle, FormulaDialog& dialog) {
    const BoxLayout l(WindowScale);
    FormulaEntry entry;
    entry.dialog = &dialog;
    entry.formula = dialog.formula;
    fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
    const int labelWidth = static_cast<int>(fl_width("Formula:")) + l.margin;
    const int width = 2 * l.margin + FormulaPreviewWidth * WindowScale;
    const int fieldLeft = l.margin + labelWidth;
    const int fieldWidth = width - l.margin - fieldLeft;
    Fl_Window box(width, 0);
    box.copy_label("Formula");
    int top = l.margin;
    entry.mode = new Fl_Choice(fieldLeft, top, l.labelWidth, l.fieldHeight, "Mode:");
    entry.mode->textsize(FL_NORMAL_SIZE);
    entry.mode->add("Wave");
    entry.mode->add("Harmonics");
    entry.mode->value(dialog.formula.mode == FormulaMode::Harmonics ? 1 : 0);
    entry.mode->callback(ModeChanged, &entry);
    top += l.fieldHeight + l.margin / 2;
    entry.text = AddField(l, fieldLeft, top, fieldWidth, "Formula:", "", entry);
    top += l.fieldHeight + l.margin / 2;
    entry.phase = AddField(l, fieldLeft, top, fieldWidth, "Phase:", entry.formula.phase, entry);
    top += l.fieldHeight + l.margin / 2;
    entry.line = new PlainText(l.margin, top, width - 2 * l.margin, l.line, "");
    top += l.line + l.margin / 2;
    entry.preview = new RasterView(l.margin, top, entry.raster);
    const int buttonTop = top + entry.preview->h() + l.margin;
    Fl_Toggle_Button* listen =
        new Fl_Toggle_Button(l.margin, buttonTop, l.buttonWidth, l.buttonHeight, "Listen");
    listen->selection_color(FL_DARK2); // held down while the note sounds
    listen->callback(ListenToggled, &entry);
    entry.ok = AddButtons(l, width, buttonTop, "Cancel", "OK", TakeFormula, &entry);
    box.size(width, BoxHeight(l, buttonTop));
    ShowMode(entry);
    Recompute(entry);
    RunModal(box, *entry.text);
    if (entry.accepted) dialog.formula = entry.formula;
    return entry.accepted;
}

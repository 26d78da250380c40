// The modal boxes: the message box, the number dialog and the import dialog,
// laid out at the screen scale from one set of measures.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/common/envelope_picture.h"
#include "platform/common/file_names.h"
#include "platform/common/number_answer.h"
#include "platform/common/screen_scale.h"
#include "platform/gui/fltk_boxes.h"
#include "platform/gui/fltk_window.h"
#include "platform/history_dialog.h"

namespace {

// The width of a box whose text starts at `textLeft` and is `textWidth` wide,
// above a row of `buttons` buttons.
int BoxWidth(const BoxLayout& l, int textLeft, int textWidth, int buttons) {
    return std::max({textLeft + textWidth + l.margin, l.leastWidth,
                     l.margin + buttons * (l.buttonWidth + l.margin)});
}

// A button's callback, and the box's own (Escape, the close box).
void HideBox(Fl_Widget* widget, void*) { widget->top_window()->hide(); }

void PressOk(Fl_Widget* button, void* pressed) {
    *static_cast<bool*>(pressed) = true;
    button->top_window()->hide();
}

// The red line where a box refuses what was typed.
Fl_Box* RefusalLine(int x, int y, int w, int h) {
    Fl_Box* line = new Fl_Box(x, y, w, h);
    line->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    line->labelsize(FL_NORMAL_SIZE);
    line->labelcolor(FL_RED);
    return line;
}

// A modal box laid out at the screen scale: the caption as its title, an icon
// when `icon` is given, the text, and a row of buttons on the right: `ok`,
// which Return presses, and `cancel` (when given) before it. Escape and the
// close box close it as cancel does. True when ok was pressed.
bool RunBox(const std::string& text, const std::string& caption, const char* icon,
            const char* cancel, const char* ok) {
    const BoxLayout l(WindowScale);
    fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
    int textWidth = 0, textHeight = 0;
    fl_measure(text.c_str(), textWidth, textHeight, 0);
    const int textLeft = icon ? 2 * l.margin + l.icon : l.margin;
    const int width = BoxWidth(l, textLeft, textWidth, cancel ? 2 : 1);
    const int bodyHeight = std::max(textHeight, icon ? l.icon : 0);
    const int buttonTop = 2 * l.margin + bodyHeight;
    Fl_Window box(width, BoxHeight(l, buttonTop));
    box.copy_label(caption.c_str());
    if (icon) {
        Fl_Box* mark = new Fl_Box(l.margin, l.margin, l.icon, l.icon, icon);
        mark->box(FL_THIN_UP_BOX);
        mark->color(FL_WHITE);
        mark->labelfont(FL_TIMES_BOLD);
        mark->labelsize(l.iconFont);
        mark->labelcolor(FL_BLUE);
    }
    new PlainText(textLeft, l.margin, textWidth, bodyHeight, text);
    bool pressed = false;
    RunModal(box, *AddButtons(l, width, buttonTop, cancel, ok, PressOk, &pressed));
    return pressed;
}

} // namespace

void PlainText::draw() {
    draw_box();
    fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
    fl_color(labelcolor());
    fl_draw(text_.c_str(), x(), y(), w(), h(), FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE, nullptr, 0);
}

void PlainText::show_text(const std::string& text, Fl_Color colour) {
    text_ = text;
    labelcolor(colour);
    box(FL_FLAT_BOX); // the text it replaces goes
    redraw();
}

Fl_Return_Button* AddButtons(const BoxLayout& l, int width, int top, const char* cancel,
                             const char* ok, Fl_Callback* take, void* data) {
    const int okLeft = width - l.margin - l.buttonWidth;
    if (cancel) {
        Fl_Button* no = new Fl_Button(okLeft - l.margin - l.buttonWidth, top, l.buttonWidth,
                                      l.buttonHeight, cancel);
        no->callback(HideBox);
    }
    Fl_Return_Button* yes = new Fl_Return_Button(okLeft, top, l.buttonWidth, l.buttonHeight, ok);
    yes->callback(take, data);
    return yes;
}

bool CloseOrRefuse(Fl_Widget* button, Fl_Widget* line, const std::string& refusal) {
    if (refusal.empty()) {
        button->top_window()->hide();
        return true;
    }
    line->label(refusal.c_str());
    line->redraw();
    return false;
}

void RunModal(Fl_Window& box, Fl_Widget& focus, bool beside) {
    box.end();
    box.callback(HideBox);
    box.set_modal();
    const Fl_Window* main = ShownMainWindow();
    const int centreX = main ? main->x() + main->w() / 2 : Fl::w() / 2;
    const int centreY = main ? main->y() + main->h() / 2 : Fl::h() / 2;
    box.position(centreX - box.w() / 2, centreY - box.h() / 2);
    if (beside && main)
        box.position(std::max(0, std::min(main->x() + main->w(), Fl::w() - box.w())), main->y());
    box.show();
    focus.take_focus();
    while (box.shown()) Fl::wait();
    ReturnKeysToMainWindow();
}

namespace {

// What the number box's OK button reads and writes.
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

// The envelope picture in its own raster, shown enlarged to the screen scale
// as the client area is; the shading follows the span's fields.
class EnvelopeView : public Fl_Widget {
  public:
    EnvelopeView(int x, int y, const ImportDialog& dialog)
        : Fl_Widget(x, y, EnvelopePictureWidth * WindowScale, EnvelopePictureHeight * WindowScale),
          dialog_(dialog) {
        Shade(dialog.from, dialog.to);
    }
    void Shade(double from, double to) {
        EnlargeRaster(EnvelopePicture(dialog_, from, to), WindowScale, enlarged_);
        redraw();
    }
    void draw() override { fl_draw_image(enlarged_.data(), x(), y(), w(), h(), 3); }

  private:
    const ImportDialog& dialog_;
    std::vector<uint8_t> enlarged_;
};

// The import dialog's fields, read when OK is pressed: the span must be two
// numbers of seconds, and the check must take the choices, else the box stays
// open and says why.
struct ImportEntry {
    ImportDialog* dialog;
    const ImportCheck* check;
    EnvelopeView* picture;
    Fl_Input* pitch;
    Fl_Input* from;
    Fl_Input* to;
    Fl_Box* refusal;
    std::string refusalText;
    bool accepted = false;
};

// Moves the picture's shading to the span typed so far, once both ends read.
void FollowSpan(Fl_Widget*, void* data) {
    const ImportEntry& entry = *static_cast<ImportEntry*>(data);
    const std::optional<double> from = ReadSecondsAnswer(entry.from->value());
    const std::optional<double> to = ReadSecondsAnswer(entry.to->value());
    if (from && to) entry.picture->Shade(*from, *to);
}

void TakeImport(Fl_Widget* button, void* data) {
    ImportEntry& entry = *static_cast<ImportEntry*>(data);
    const std::optional<double> from = ReadSecondsAnswer(entry.from->value());
    const std::optional<double> to = from ? ReadSecondsAnswer(entry.to->value()) : std::nullopt;
    ImportDialog choices = *entry.dialog;
    if (to) {
        choices.pitch = entry.pitch->value();
        choices.from = *from;
        choices.to = *to;
        Fl_Window* box = button->top_window();
        box->cursor(FL_CURSOR_WAIT);
        Fl::flush();
        entry.refusalText = (*entry.check)(choices);
        box->cursor(FL_CURSOR_DEFAULT);
    } else {
        entry.refusalText = "Start and end are seconds, such as 0.25";
    }
    entry.accepted = CloseOrRefuse(button, entry.refusal, entry.refusalText);
    if (entry.accepted) *entry.dialog = choices;
}

std::string SecondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

} // namespace

void ShowMessageBox(WindowHandle, const std::string& text, const std::string& caption) {
    // Only errors carry the exclamation mark; every box has one OK button.
    RunBox(text, caption, caption == "Error" ? "!" : nullptr, nullptr, "OK");
}

bool ConfirmReplace(const std::string& path) {
    return RunBox(FileNameOf(path) + " already exists.\nDo you want to replace it?",
                  "Confirm Save As", "?", "No", "Yes");
}

bool AskNumber(WindowHandle, const NumberQuestion& question, double& value) {
    const BoxLayout l(WindowScale);
    NumberEntry entry{&question, nullptr, nullptr, NumberRangeLine(question), std::nullopt};
    fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
    const int textWidth = std::max(static_cast<int>(fl_width(question.question.c_str())),
                                   static_cast<int>(fl_width(entry.refusalLine.c_str())));
    const int width = BoxWidth(l, l.margin, textWidth, 2);
    const int inner = width - 2 * l.margin;
    const int fieldTop = l.margin + l.line;
    const int refusalTop = fieldTop + l.fieldHeight + l.margin / 2;
    const int buttonTop = refusalTop + l.line + l.margin;
    Fl_Window box(width, BoxHeight(l, buttonTop));
    box.copy_label("QARNO Wavetable Maker");
    new PlainText(l.margin, l.margin, inner, l.line, question.question);
    const std::string offered = NumberText(value);
    entry.field = new Fl_Input(l.margin, fieldTop, inner, l.fieldHeight);
    entry.field->textsize(FL_NORMAL_SIZE);
    entry.field->value(offered.c_str());
    entry.field->position(entry.field->size(), 0);
    entry.refusal = RefusalLine(l.margin, refusalTop, inner, l.line);
    AddButtons(l, width, buttonTop, "Cancel", "OK", TakeNumber, &entry);
    RunModal(box, *entry.field);
    if (!entry.accepted) return false;
    value = *entry.accepted;
    NoteDialogAnswer(NumberText(value));
    return true;
}

bool AskImportChoices(WindowHandle, ImportDialog& dialog, const ImportCheck& check) {
    const BoxLayout l(WindowScale);
    const int width = BoxWidth(l, l.margin, l.labelWidth + l.fieldWidth, 2);
    const int pictureHeight = EnvelopePictureHeight * WindowScale + l.margin;
    // The buttons sit below the facts, the picture, the fields and two rows of refusal.
    const int buttonTop = l.margin + 10 * l.row + pictureHeight;
    Fl_Window box(width, BoxHeight(l, buttonTop));
    box.copy_label("Import Audio");
    const std::string rows[3][2] = {{"File:", dialog.fileName},
                                    {"Length:", dialog.length},
                                    {"Detected pitch:", dialog.detected}};
    int top = l.margin;
    for (const auto& row : rows) {
        new PlainText(l.margin, top, l.labelWidth, l.row, row[0]);
        new PlainText(l.margin + l.labelWidth, top, l.fieldWidth, l.row, row[1]);
        top += l.row;
    }
    ImportEntry entry{&dialog, &check, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
    entry.picture = new EnvelopeView(l.margin, top + l.margin / 2, dialog);
    top += pictureHeight;
    const std::string from = SecondsText(dialog.from), to = SecondsText(dialog.to);
    Fl_Input** fields[3] = {&entry.pitch, &entry.from, &entry.to};
    const char* labels[3] = {"Other pitch (Hz or note):", "Start (seconds):", "End (seconds):"};
    const std::string values[3] = {dialog.pitch, from, to};
    for (int i = 0; i < 3; ++i) {
        top += i == 0 ? l.row / 2 : 0;
        new PlainText(l.margin, top + l.labelDrop, l.labelWidth, l.row, labels[i]);
        *fields[i] = new Fl_Input(l.margin + l.labelWidth, top, l.fieldWidth, l.row);
        (*fields[i])->textsize(FL_NORMAL_SIZE);
        (*fields[i])->value(values[i].c_str());
        top += l.row + l.margin / 2;
    }
    for (Fl_Input* field : {entry.from, entry.to}) {
        field->when(FL_WHEN_CHANGED);
        field->callback(FollowSpan, &entry);
    }
    entry.refusal = RefusalLine(l.margin, top, width - 2 * l.margin, 2 * l.row);
    entry.refusal->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
    AddButtons(l, width, buttonTop, "Cancel", "OK", TakeImport, &entry);
    RunModal(box, *entry.pitch);
    return entry.accepted;
}

// The script dialog on FLTK: the script in a text editor, Frames and Samples,
// Open..., Save... and Run (Ctrl+Enter in the editor runs too), the line that
// tells what is wrong or what the run gave, a slider choosing the frame the
// preview shows, the preview raster at the screen scale, Listen, Cancel and
// OK. Nothing runs while the script is typed: a run may take seconds.
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Hor_Value_Slider.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>
#include <FL/Fl_Toggle_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <cstdlib>
#include <optional>

#include "platform/common/text_parse.h"
#include "platform/gui/fltk_boxes.h"
#include "platform/gui/fltk_window.h"
#include "platform/script_dialog.h"
#include "platform/script_protocol.h"

namespace {

struct ScriptEntry {
    ScriptDialog* dialog = nullptr;
    WindowHandle owner = nullptr;
    Surface raster = BlankSurface(FormulaPreviewWidth, FormulaPreviewHeight);
    Fl_Text_Buffer text;
    Fl_Input* frames = nullptr;
    Fl_Input* samples = nullptr;
    Fl_Hor_Value_Slider* slider = nullptr;
    PlainText* line = nullptr;
    RasterView* preview = nullptr;
    std::optional<WavetableScript> ran; // the last script that ran without an error
    bool accepted = false;
};

void Tell(ScriptEntry& entry, const std::string& text, bool wrong) {
    entry.line->show_text(text, wrong ? FL_RED : FL_FOREGROUND_COLOR);
}

// The script as the fields hold it; nothing when Frames or Samples is wrong,
// which the line then says.
std::optional<WavetableScript> Fields(ScriptEntry& entry) {
    WavetableScript script;
    char* text = entry.text.text();
    script.lua = text;
    std::free(text);
    const std::optional<int> frames = ParseWhole(entry.frames->value(), 1, ScriptMaxFrames);
    const std::optional<int> samples = ParseWhole(entry.samples->value(), 32, ScriptMaxSamples);
    if (!frames) {
        Tell(entry, "Frames: a whole number from 1 to " + std::to_string(ScriptMaxFrames), true);
        return std::nullopt;
    }
    if (!samples || (*samples & (*samples - 1)) != 0) {
        Tell(entry, "Samples: 32, 64, 128, 256, 512, 1024, 2048 or 4096", true);
        return std::nullopt;
    }
    script.frames = *frames;
    script.samples = *samples;
    return script;
}

int Shown(const ScriptEntry& entry) { return static_cast<int>(entry.slider->value()) - 1; }

// Runs the script as the fields hold it; true when it ran.
bool RunScript(ScriptEntry& entry) {
    const std::optional<WavetableScript> script = Fields(entry);
    if (!script) return false;
    fl_cursor(FL_CURSOR_WAIT);
    Fl::flush();
    const ScriptCheck check = entry.dialog->run(*script, Shown(entry), entry.raster);
    fl_cursor(FL_CURSOR_DEFAULT);
    const bool wrong = !check.error.empty();
    Tell(entry, wrong ? check.error : check.notice, wrong);
    if (!wrong) entry.ran = script;
    entry.preview->redraw();
    return !wrong;
}

void RunPressed(Fl_Widget*, void* data) { RunScript(*static_cast<ScriptEntry*>(data)); }

bool Same(const WavetableScript& a, const WavetableScript& b) {
    return a.lua == b.lua && a.frames == b.frames && a.samples == b.samples;
}

// OK: takes the script once it has run as the fields hold it.
void TakeScript(Fl_Widget* button, void* data) {
    ScriptEntry& entry = *static_cast<ScriptEntry*>(data);
    const std::optional<WavetableScript> script = Fields(entry);
    if (!script) return;
    if (!(entry.ran && Same(*entry.ran, *script)) && !RunScript(entry)) return;
    entry.dialog->script = *script;
    entry.accepted = true;
    button->top_window()->hide();
}

void ShowFields(ScriptEntry& entry, const WavetableScript& script) {
    entry.text.text(script.lua.c_str());
    entry.frames->value(std::to_string(script.frames).c_str());
    entry.samples->value(std::to_string(script.samples).c_str());
}

void OpenPressed(Fl_Widget*, void* data) {
    ScriptEntry& entry = *static_cast<ScriptEntry*>(data);
    WavetableScript script;
    if (entry.dialog->open(entry.owner, script)) ShowFields(entry, script);
}

void SavePressed(Fl_Widget*, void* data) {
    ScriptEntry& entry = *static_cast<ScriptEntry*>(data);
    if (const std::optional<WavetableScript> script = Fields(entry))
        entry.dialog->save(entry.owner, *script);
}

void SliderMoved(Fl_Widget*, void* data) {
    ScriptEntry& entry = *static_cast<ScriptEntry*>(data);
    entry.dialog->show(Shown(entry), entry.raster);
    entry.preview->redraw();
}

void ListenToggled(Fl_Widget* button, void* data) {
    static_cast<ScriptEntry*>(data)->dialog->listen(
        static_cast<Fl_Toggle_Button*>(button)->value() != 0);
}

// The editor, in which Ctrl+Enter runs the script.
class ScriptEditor : public Fl_Text_Editor {
  public:
    ScriptEditor(int x, int y, int w, int h, ScriptEntry& entry)
        : Fl_Text_Editor(x, y, w, h), entry_(entry) {}
    int handle(int event) override {
        const int key = Fl::event_key();
        if (event == FL_KEYBOARD && (key == FL_Enter || key == FL_KP_Enter) &&
            Fl::event_state(FL_CTRL)) {
            RunScript(entry_);
            return 1;
        }
        return Fl_Text_Editor::handle(event);
    }

  private:
    ScriptEntry& entry_;
};

Fl_Input* AddNumberField(int left, int top, int width, int height, const char* label) {
    Fl_Input* field = new Fl_Input(left, top, width, height, label);
    field->textsize(FL_NORMAL_SIZE);
    return field;
}

} // namespace

bool AskScript(WindowHandle owner, ScriptDialog& dialog) {
    const BoxLayout l(WindowScale);
    ScriptEntry entry;
    entry.dialog = &dialog;
    entry.owner = owner;
    fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
    const int width = 2 * l.margin + FormulaPreviewWidth * WindowScale;
    Fl_Window box(width, 0);
    box.copy_label("Script");
    int top = l.margin;
    ScriptEditor* editor =
        new ScriptEditor(l.margin, top, width - 2 * l.margin, 16 * l.line, entry);
    editor->buffer(&entry.text);
    editor->textfont(FL_COURIER);
    editor->textsize(FL_NORMAL_SIZE);
    top += editor->h() + l.margin / 2;
    const int labelWidth = static_cast<int>(fl_width("Samples:")) + l.margin;
    const int numberWidth = l.buttonWidth * 2 / 3;
    entry.frames =
        AddNumberField(l.margin + labelWidth, top, numberWidth, l.fieldHeight, "Frames:");
    const int samplesLeft = l.margin + 2 * labelWidth + numberWidth + l.margin;
    entry.samples = AddNumberField(samplesLeft, top, numberWidth, l.fieldHeight, "Samples:");
    // Open..., Save... and Run at the right, a little narrower than the box's buttons.
    const int buttonWidth = l.buttonWidth * 8 / 9, gap = l.margin / 2;
    int left = width - l.margin - 3 * buttonWidth - 2 * gap;
    for (const auto& [label, press] : {std::pair<const char*, Fl_Callback*>{"Open...", OpenPressed},
                                       {"Save...", SavePressed},
                                       {"Run", RunPressed}}) {
        Fl_Button* button = new Fl_Button(left, top, buttonWidth, l.buttonHeight, label);
        button->callback(press, &entry);
        left += buttonWidth + gap;
    }
    top += l.fieldHeight + l.margin / 2;
    entry.line = new PlainText(l.margin, top, width - 2 * l.margin, l.line, "");
    top += l.line + l.margin / 2;
    entry.slider = new Fl_Hor_Value_Slider(
        l.margin + labelWidth, top, width - 2 * l.margin - labelWidth, l.fieldHeight, "Frame:");
    entry.slider->align(FL_ALIGN_LEFT);
    entry.slider->bounds(dialog.firstFrame + 1, dialog.lastFrame + 1);
    entry.slider->step(1);
    entry.slider->value(dialog.firstFrame + 1);
    entry.slider->callback(SliderMoved, &entry);
    top += l.fieldHeight + l.margin / 2;
    entry.preview = new RasterView(l.margin, top, entry.raster);
    const int buttonTop = top + entry.preview->h() + l.margin;
    Fl_Toggle_Button* listen =
        new Fl_Toggle_Button(l.margin, buttonTop, l.buttonWidth, l.buttonHeight, "Listen");
    listen->selection_color(FL_DARK2);
    listen->callback(ListenToggled, &entry);
    AddButtons(l, width, buttonTop, "Cancel", "OK", TakeScript, &entry);
    box.size(width, BoxHeight(l, buttonTop));
    ShowFields(entry, dialog.script);
    dialog.show(Shown(entry), entry.raster);
    RunModal(box, *editor);
    editor->buffer(nullptr);
    return entry.accepted;
}

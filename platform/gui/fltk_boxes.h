// What the modal boxes and dialogs share: the measures they are laid out with
// at the screen scale, plain text, the row of buttons and the modal run.
#pragma once

#include <FL/Fl.H>
#include <FL/Fl_Widget.H>

#include <string>

class Fl_Return_Button;
class Fl_Window;

// The measures every box is laid out with, grown by the screen scale `s`.
struct BoxLayout {
    explicit BoxLayout(int s)
        : margin(10 * s), line(20 * s), row(22 * s), labelWidth(190 * s), fieldWidth(250 * s),
          fieldHeight(25 * s), buttonWidth(90 * s), buttonHeight(25 * s), leastWidth(300 * s),
          icon(50 * s), iconFont(34 * s), labelDrop(3 * s) {}
    int margin;       // around the contents, between the buttons
    int line;         // a line of text: the number dialog's question, a refusal
    int row;          // an import dialog's row: a label and its value or field
    int labelWidth;   // the import dialog's labels
    int fieldWidth;   // the import dialog's values and fields
    int fieldHeight;  // the number dialog's field
    int buttonWidth;  // every button
    int buttonHeight; // every button
    int leastWidth;   // no box is narrower
    int icon;         // the message box's icon square
    int iconFont;     // the mark in that square
    int labelDrop;    // an import field's label, lowered to the field's text
};

// The height of a box whose row of buttons starts at `buttonTop`.
inline int BoxHeight(const BoxLayout& l, int buttonTop) {
    return buttonTop + l.buttonHeight + l.margin;
}

// Text drawn as it is: FLTK's labels would read '@' as the start of a symbol,
// and a file name or a formula may hold one.
class PlainText : public Fl_Widget {
  public:
    PlainText(int x, int y, int w, int h, const std::string& text)
        : Fl_Widget(x, y, w, h), text_(text) {}
    void draw() override;
    // Shows `text` in `colour` from now on, in place of the text before.
    void show_text(const std::string& text, Fl_Color colour);

  private:
    std::string text_;
};

// A `Base` widget in which Enter does what OK does: `take` with the widget's
// user data, the widget keeping the focus when OK is refused.
template <typename Base, Fl_Callback* take> class EnterTakes : public Base {
  public:
    using Base::Base;
    int handle(int event) override {
        const int key = Fl::event_key();
        if (event == FL_KEYBOARD && (key == FL_Enter || key == FL_KP_Enter)) {
            take(this, this->user_data());
            return 1;
        }
        return Base::handle(event);
    }
};

// The row of buttons at the right of a box `width` wide: `ok`, which Return
// presses and which calls `take` with `data`, and `cancel` (when given) before
// it, which closes the box.
Fl_Return_Button* AddButtons(const BoxLayout& l, int width, int top, const char* cancel,
                             const char* ok, Fl_Callback* take, void* data);

// What OK does with a check's answer: closes the box and returns true when
// `refusal` is empty, else shows it on `line` (it must outlive the box) and
// returns false.
bool CloseOrRefuse(Fl_Widget* button, Fl_Widget* line, const std::string& refusal);

// Ends the box's layout and runs it modally, centred over the main window (or
// the screen when there is none), with the focus on `focus`, until it hides.
// Escape and the close box hide it. A box `beside` the main window stands to
// its right, or as far right as the screen lets it, leaving the window in sight.
void RunModal(Fl_Window& box, Fl_Widget& focus, bool beside = false);

// The file dialogs: FLTK's own chooser, the same on every machine, showing the
// program's filter text, grown by the screen scale, and opening in the folder
// the last dialog chose.
#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/common/file_names.h"
#include "platform/gui/fltk_window.h"
#include "platform/history_dialog.h"

namespace {

// The folder the next file dialog opens in: the one the last dialog chose,
// else (empty) the working folder.
std::string LastFolder;

// Grows a widget tree laid out for scale 1 by the screen scale. Positions are
// relative to the window, so every one is simply multiplied; a group is moved
// alone (Fl_Widget::resize) after its children, and forgets its old layout.
void ScaleLayout(Fl_Widget& widget) {
    const int s = WindowScale;
    Fl_Group* group = widget.as_group();
    if (group)
        for (int i = 0; i < group->children(); ++i) ScaleLayout(*group->child(i));
    const bool window = widget.as_window() != nullptr;
    widget.Fl_Widget::resize(window ? widget.x() : widget.x() * s,
                             window ? widget.y() : widget.y() * s, widget.w() * s, widget.h() * s);
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
// after what was typed. A full path being typed stays as typed: the chooser
// takes a lone "/" for a folder to show and empties the field, and the rest
// of the path would then be read against the working folder.
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
    if (!typed.empty() && typed[0] == '/') {
        if (full.compare(0, typed.size(), typed) != 0) {
            input.value(typed.c_str());
            input.position(cursor);
        }
        return;
    }
    const size_t added = full.size() - typed.size();
    if (!typed.empty() && full.size() > typed.size() &&
        full.compare(added, typed.size(), typed) == 0)
        input.position(cursor + static_cast<int>(added));
}

void KeepFilter(Fl_Widget*, void*) {}

// Widens the filter list until its text fits beside the list's arrow: the
// window grows by as much, and the buttons right of the list move with its
// right edge. Measures are at scale 1, as the chooser is laid out.
void FitFilterText(Fl_Window& window, Fl_Choice& choice, Fl_Widget* favorites, Fl_Widget& newFolder,
                   const std::string& filterText) {
    constexpr int ArrowWidth = 30;
    fl_font(choice.textfont(), choice.textsize());
    const int needed = static_cast<int>(fl_width(filterText.c_str())) / WindowScale + ArrowWidth;
    const int extra = needed - choice.w();
    if (extra <= 0 || !favorites) return;
    const int favoritesX = favorites->x(), favoritesW = favorites->w(), newFolderX = newFolder.x();
    window.size(window.w() + extra, window.h());
    choice.resize(choice.x(), choice.y(), needed, choice.h());
    favorites->resize(favoritesX + extra, favorites->y(), favoritesW, favorites->h());
    newFolder.resize(newFolderX + extra, newFolder.y(), newFolder.w(), newFolder.h());
    window.init_sizes();
}

// The chooser's own parts that the program changes: its filter list (FLTK
// follows the given filter with "All Files" and "Custom Filter"; the program
// offers its own filter alone, wide enough for its text) and its name field.
void AdjustChooser(Fl_File_Chooser& chooser, NameField& field, const std::string& filterText) {
    Fl_Window& window = *chooser.newButton->window();
    Fl_Choice* filters = nullptr;
    Fl_Widget* favorites = nullptr;
    ForEachWidget(window, [&](Fl_Widget& widget) {
        if (Fl_Choice* choice = dynamic_cast<Fl_Choice*>(&widget)) {
            while (choice->size() > 2) choice->remove(1);
            // The one filter shows the program's text even where the chooser
            // reads its patterns in its own syntax; choosing it again changes
            // nothing, so the chooser need not read the text back.
            choice->replace(0, filterText.c_str());
            choice->callback(KeepFilter);
            filters = choice;
        }
        if (dynamic_cast<Fl_Menu_Button*>(&widget)) favorites = &widget;
        if (dynamic_cast<Fl_File_Input*>(&widget)) {
            field.chooserCallback = widget.callback();
            field.chooserData = widget.user_data();
            widget.callback(KeepCursorAfterName, &field);
        }
    });
    if (filters) FitFilterText(window, *filters, favorites, *chooser.newButton, filterText);
}

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

// Runs the chooser until a name is chosen (false: cancelled).
bool RunChooser(const FileDialog& dialog, std::string& path) {
    const DialogFolder folder(LastFolder);
    char shown[4096];
    if (!getcwd(shown, sizeof shown)) shown[0] = '\0';
    // The chooser reads the pattern in parentheses after the filter's name, in
    // its own syntax ("*.{wav,flac}" for several extensions).
    const std::string filter =
        dialog.filterText.substr(0, dialog.filterText.find('(')) + "(" + dialog.pattern + ")";
    NameField field;
    Fl_File_Chooser chooser(shown, filter.c_str(),
                            dialog.save ? Fl_File_Chooser::CREATE : Fl_File_Chooser::SINGLE,
                            dialog.save ? "Save As" : "Open");
    AdjustChooser(chooser, field, dialog.filterText);
    if (WindowScale > 1) ScaleLayout(*chooser.newButton->window());
    if (!dialog.suggestedName.empty()) chooser.value(dialog.suggestedName.c_str());
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

} // namespace

bool AskFileName(const FileDialog& dialog, std::string& path) {
    const bool chosen = RunChooser(dialog, path);
    ReturnKeysToMainWindow();
    if (chosen) NoteDialogAnswer(FileNameOf(path));
    return chosen;
}

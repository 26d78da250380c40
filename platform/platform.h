// The port layer: the few services of the window system, dialogs and sound that
// the editor uses. Two backends implement it: platform/gui/ for the real program
// and platform/headless.cpp for tests and off-screen rendering.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/formula_texts.h"

// The one main window. Opaque to the editor: every message box owner, menu
// operation and paint names it.
struct AppWindow;
using WindowHandle = AppWindow*;

struct Surface;          // platform/common/surface.h
struct AuditionMaterial; // platform/audition_events.h
struct AuditionEvent;    // platform/audition_events.h

// Client area size in pixels: the window is 768 x 600 with the menu bar on top.
constexpr int WindowWidth = 768;
constexpr int WindowHeight = 600;
constexpr int MenuBarHeight = 25;
constexpr int ClientWidth = WindowWidth;
constexpr int ClientHeight = WindowHeight - MenuBarHeight;

// The window procedure: every message of the one window arrives here. The
// backends get it when the window is made and deliver every message through it.
using WindowProc = intptr_t (*)(WindowHandle window, uint32_t message, uintptr_t wParam,
                                intptr_t lParam);

// The number of a menu command (core/command_ids.h names them).
using CommandId = uint16_t;

// A menu bar as plain data: popups from left to right, each with its items.
struct MenuItem {
    std::string label; // with '&' mnemonics; empty for a separator
    CommandId id = 0;  // 0 for a separator and a submenu's title
    bool checked = false;
    bool radio = false; // one of a group of choices: a round mark, its space kept when unchecked
    bool separator = false;
    bool enabled = true; // false: shown greyed out, cannot be chosen
    // The items of a submenu whose title this item is; empty for a plain item.
    std::vector<MenuItem> submenu;
    // The key that chooses the item, shown beside its label: "Ctrl+N" (a
    // letter with the control key), "Space" or "Esc"; empty for none.
    std::string accelerator;
};
struct MenuPopup {
    std::string title;
    std::vector<MenuItem> items;
};
using MenuBar = std::vector<MenuPopup>;

// A file dialog with one filter entry. `extension` (without the dot) is appended
// to a typed name that has none. Save dialogs ask before replacing a file; open
// dialogs accept existing files only.
struct FileDialog {
    bool save = false;
    std::string filterText; // e.g. "Wavefile (*.wav)"
    std::string pattern;    // e.g. "*.wav", or "*.{wav,flac}" for several
    std::string extension;  // e.g. "wav"
    // A save dialog's name field starts with this name in the dialog's folder.
    std::string suggestedName = ""; // e.g. "wavetable.wav"
};

// The import dialog of Import Audio: what it tells about the file, its level
// over time (drawn with the span shaded), and the fields the user may change
// (the typed pitch, empty for the detected one, and the span in seconds).
struct ImportDialog {
    std::string fileName;
    std::string length;   // e.g. "3.00 s (44100 Hz, 2 channels)"
    std::string detected; // e.g. "G3 +2 cents, 196.2 Hz" or "no steady pitch found"
    double seconds = 0.0; // the file's length
    // The level in dB below the loudest (0 there), one every `envelopeStep` seconds.
    std::vector<float> envelope;
    double envelopeStep = 0.0;
    std::string pitch; // Hz or a note name; empty: the detected pitch
    double from = 0.0;
    double to = 0.0;
};
// What OK runs on the import dialog's choices: empty when they are taken and
// the dialog closes, else the line the dialog shows as it stays open.
using ImportCheck = std::function<std::string(const ImportDialog& choices)>;

// A 24-bit image, rows top to bottom, 3 bytes per pixel (R, G, B).
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    bool empty() const { return rgb.empty(); }
};

// Bitmap resource ids of the two strips.
constexpr int LedStripId = 100;
constexpr int KnobStripId = 102;

// Messages of the main window, numbered as the window system numbers them.
enum : uint32_t {
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_SIZE = 0x0005,
    WM_KILLFOCUS = 0x0008,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_COMMAND = 0x0111,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_MOUSEWHEEL = 0x020A,
    WM_DROPFILES = 0x0233,
};

// The wheel's turn in a WM_MOUSEWHEEL message: the high 16 bits of wParam, a
// signed multiple of WheelNotch per notch, positive away from the user; lParam
// holds the pointer's client position as for the buttons.
constexpr int WheelNotch = 120;
inline uintptr_t WheelParam(int notches) {
    return static_cast<uintptr_t>(static_cast<uint16_t>(notches * WheelNotch)) << 16;
}
inline int WheelNotches(uintptr_t wParam) {
    return static_cast<int16_t>((wParam >> 16) & 0xFFFF) / WheelNotch;
}

// A file dropped on the window arrives as WM_DROPFILES; lParam points to its
// path, a NUL-terminated string alive for the call.
inline intptr_t DroppedPathParam(const std::string& path) {
    return reinterpret_cast<intptr_t>(path.c_str());
}

// WM_KEYDOWN and WM_KEYUP carry the key in wParam: the character it types
// without Shift, lower case ('a', ';', '\''), or 0 for a key without one. A
// key held down repeats its WM_KEYDOWN without a WM_KEYUP between. The backend
// sends WM_KEYDOWN only while no modifier (Shift, Ctrl, Alt, Super) is held;
// a WM_KEYDOWN whose procedure returns 0 goes on to the menu bar's shortcuts.
// The arrows Left and Right, which type no character, come as KeyLeft and
// KeyRight, with Shift held too: lParam is then KeyShiftHeld, else 0.
// WM_KILLFOCUS: the window no longer gets the keys.

constexpr uintptr_t KeyLeft = 0x125;
constexpr uintptr_t KeyRight = 0x127;
constexpr intptr_t KeyShiftHeld = 1;

// Mouse messages carry the client position in lParam: x in the low 16 bits and
// y in the high 16 bits, each a signed 16-bit value.
inline intptr_t PointParam(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                                 static_cast<uint16_t>(x));
}
inline int PointX(intptr_t lParam) { return static_cast<int16_t>(lParam & 0xFFFF); }
inline int PointY(intptr_t lParam) { return static_cast<int16_t>((lParam >> 16) & 0xFFFF); }

// Replaces the window's menu bar with this one.
void AttachMenuBar(WindowHandle window, const MenuBar& bar);
// Asks for the client area to be painted again (a WM_PAINT follows, without erase).
void InvalidateWindow(WindowHandle window);
// A modal message box with one OK button. `owner` may be null.
void ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption);
// Runs a file dialog; false when the user cancels. `path` receives the chosen file.
bool AskFileName(const FileDialog& dialog, std::string& path);
// Runs the import dialog; false when the user cancels. OK passes the user's
// pitch and span to `check`; what it refuses is said in the dialog, which
// stays open with what was typed. True once `check` takes them, with them in
// `dialog`.
bool AskImportChoices(WindowHandle owner, ImportDialog& dialog, const ImportCheck& check);
// A question whose answer is a number from `minimum` to `maximum`, a whole one
// when `whole` is set.
struct NumberQuestion {
    std::string question; // e.g. "Keep harmonics up to:"
    double minimum = 0.0;
    double maximum = 0.0;
    bool whole = true;
};
// A modal box with the question, a field holding `value`, OK (Enter) and Cancel
// (Esc). A value out of range or no number is refused in the box with one line
// naming the range, and the box stays open. True with the accepted number in
// `value`; false, `value` untouched, when the user cancels.
bool AskNumber(WindowHandle owner, const NumberQuestion& question, double& value);
// The formula dialog: the mode ("Wave" or "Harmonics"), the formula text (in
// Harmonics mode the amplitude's, with a "Phase" field beside it) and a preview
// raster of FormulaPreviewWidth x FormulaPreviewHeight pixels, shown at the
// screen scale, that the editor draws.
constexpr int FormulaPreviewWidth = 520;
constexpr int FormulaPreviewHeight = 232;
// What the editor tells of a formula as it stands.
struct FormulaCheck {
    std::string error;  // e.g. "unknown name 'fo' at column 3"; OK is refused while set
    std::string notice; // e.g. "3 samples were not numbers and became 0"
};
struct FormulaDialog {
    Formula formula; // offered; OK leaves the formula taken
    // Called at the opening and after every change of the mode or a text:
    // computes the formula, draws its preview into `raster` unless it is wrong,
    // and says what the dialog shows in place.
    FormulaCheck (*preview)(const Formula& formula, Surface& raster) = nullptr;
    // The Listen toggle turned on or off. The editor ends listening itself
    // once the dialog returns.
    void (*listen)(bool on) = nullptr;
};
// Runs the formula dialog; true when OK took a formula without an error.
bool AskFormula(WindowHandle owner, FormulaDialog& dialog);
// Starts playing a WAV file endlessly in the background, replacing what plays.
// False, with a one-line reason, when it cannot sound.
bool PlayLoopingWav(const std::string& path, std::string& reason);
// Silences the preview at once; harmless when nothing plays.
void StopSound();
// Loads a bitmap resource by id; false when it cannot be loaded.
bool LoadBitmapResource(int id, Bitmap& bitmap);
// Destroys the main window; its WM_DESTROY follows at once.
void DestroyAppWindow(WindowHandle window);
// Ends the message loop; the program exits with this code.
void PostQuitMessage(int exitCode);
// The retained raster of the client area that paints draw into.
Surface& ClientSurface(WindowHandle window);

// The live audition. The editor gives its engine as hooks, which the audio
// thread calls: first `reset` at the output's rate, then per block `apply` for
// each queued event and `render` for `frames` interleaved stereo frames.
struct AuditionHooks {
    void (*reset)(float sampleRate) = nullptr;
    void (*apply)(const AuditionEvent& event) = nullptr;
    void (*render)(const AuditionMaterial* material, float* out, int frames) = nullptr;
};
void InstallAuditionHooks(const AuditionHooks& hooks);
// Opens the sound output for the audition (the one Play's loop uses too) unless
// it is open; false, with the system's reason, when it cannot be opened.
bool OpenAuditionOutput(std::string& reason);
// Queues an event for the next block; dropped when no output is open or the
// queue is full. True when queued.
bool SendAuditionEvent(const AuditionEvent& event);
// Makes `material` what the audition plays from the next block on. The one it
// replaces may still be read until AuditionMaterialReleased(ticket) is true.
uint64_t PublishAuditionMaterial(const AuditionMaterial* material);
bool AuditionMaterialReleased(uint64_t ticket);
// Starts the MIDI input port that keyboards and other programs connect to; its
// events go straight to the audition. Empty when the system has no MIDI,
// otherwise the port's name.
std::string OpenMidiInput();

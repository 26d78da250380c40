// What the FLTK backend's files share: the one window with its menu bar and
// client area, the screen scale, and the boxes the file chooser asks through.
#pragma once

#include <FL/Fl_Widget.H>

#include <memory>
#include <string>
#include <vector>

#include "platform/common/surface.h"
#include "platform/platform.h"

class Fl_Menu_Bar;
class Fl_Window;
class ClientArea;
class MainFrame;

struct AppWindow {
    WindowProc procedure = nullptr;
    std::unique_ptr<MainFrame> window;
    Fl_Menu_Bar* menuBar = nullptr;
    ClientArea* client = nullptr;
    Surface surface;
    // The raster enlarged to the screen scale, kept from paint to paint.
    std::vector<uint8_t> enlarged;
    // The labels the menu items point to, kept alive as long as the items.
    std::vector<std::unique_ptr<std::string>> menuLabels;
    MenuBar pendingMenuBar;
    bool menuRebuildPending = false;
};

extern AppWindow TheWindow;

// Every raster pixel is shown as a WindowScale x WindowScale block, and every
// font, box and dialog is grown as much; set once, when the window is made.
extern int WindowScale;

// Shows a raster with its top left at (x, y) of the widget being drawn, each
// pixel a WindowScale x WindowScale block; `enlarged` is the buffer for that.
void DrawRaster(const Surface& raster, int x, int y, std::vector<uint8_t>& enlarged);

// A widget that shows a dialog's raster (a preview) at the screen scale.
class RasterView : public Fl_Widget {
  public:
    RasterView(int x, int y, const Surface& raster)
        : Fl_Widget(x, y, raster.width * WindowScale, raster.height * WindowScale),
          raster_(raster) {}
    void draw() override { DrawRaster(raster_, x(), y(), enlarged_); }

  private:
    const Surface& raster_;
    std::vector<uint8_t> enlarged_;
};

// The main window while it is shown, else nullptr: boxes are centred over it.
const Fl_Window* ShownMainWindow();

// After a box or dialog has closed: the main window's client area gets the
// keys again, with or without a window manager.
void ReturnKeysToMainWindow();

// Asks whether the existing file at `path` may be replaced; true for Yes.
bool ConfirmReplace(const std::string& path);

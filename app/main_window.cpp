#include "app/main_window.h"

#include "app/audition_keys.h"
#include "app/dispatcher.h"
#include "app/history_command.h"
#include "app/live_audition.h"
#include "core/command_ids.h"
#include "core/command_table.h"
#include "core/editor_state.h"
#include "core/menus.h"
#include "io/audio_import.h"
#include "io/preview.h"
#include "platform/common/strips.h"
#include "platform/common/surface.h"
#include "ui/control_panel.h"
#include "ui/displays.h"

namespace {

// The two bitmap strips, owned by the window from its creation to its close.
// A strip that failed to load, or has been released, is empty.
Bitmap LedStrip;
Bitmap KnobStrip;

void LoadStrip(WindowHandle window, int id, Bitmap& strip, const char* failure) {
    if (!LoadBitmapResource(id, strip)) {
        strip = Bitmap();
        ShowMessageBox(window, failure, "Error");
    }
}

void ReleaseStrips() {
    LedStrip = Bitmap();
    KnobStrip = Bitmap();
}

// Copies image `index` of a strip of stacked w x h images. An empty strip draws
// nothing: whatever the panel held at that place stays.
void CopyStripImage(Surface& surface, int x, int y, const Bitmap& strip, int index, int w, int h) {
    if (strip.empty()) return;
    CopyBitmap(surface, x, y, strip, 0, h * index, w, h);
}

void Paint(WindowHandle window) {
    Surface& surface = ClientSurface(window);
    if (FullRepaint) {
        FillBackgrounds(surface);
        FullRepaint = false;
    }
    for (int k = 0; k < KnobCount; ++k) {
        const Knob& knob = Knobs[k];
        CopyStripImage(surface, knob.left, knob.top, KnobStrip, knob.value, KnobSize, KnobSize);
        CopyStripImage(surface, knob.left + 2, knob.top - 36, LedStrip, knob.value + 1, LedWidth,
                       LedHeight);
        DrawKnobLabel(surface, k);
    }
    DrawViewTabs(surface);
    if (ViewMode == ViewWaveform || ViewMode == ViewWavetable) {
        DrawFrameBox(surface);
        DrawFrameStack(surface);
    } else if (ViewMode == ViewAdditive) {
        DrawAdditiveBox(surface);
        DrawHarmonicSliders(surface);
    } else if (ViewMode == ViewPadwave) {
        DrawAdditiveBox(surface);
        DrawPadwave(surface);
    }
}

} // namespace

namespace {

intptr_t Dispatch(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_CREATE:
        LoadStrip(window, LedStripId, LedStrip, "Could not load LED!");
        LoadStrip(window, KnobStripId, KnobStrip, "Could not load knob!");
        BuildMenuBar(window);
        return 0;
    case WM_SIZE:
        RefreshWindow(window);
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_COMMAND:
        return CommandDispatcher(window, static_cast<CommandId>(wParam & 0xFFFF));
    case WM_LBUTTONDOWN:
        PanelPress(window, PointX(lParam), PointY(lParam));
        return 0;
    case WM_MOUSEMOVE:
        PanelMove(window, PointX(lParam), PointY(lParam));
        return 0;
    case WM_LBUTTONUP:
        PanelRelease();
        return 0;
    case WM_MOUSEWHEEL:
        PanelWheel(window, PointX(lParam), PointY(lParam), WheelNotches(wParam));
        return 0;
    case WM_KEYDOWN:
        // The arrows step the Wave knob a frame, with Shift the Offset knob.
        if (wParam == KeyLeft || wParam == KeyRight) {
            PanelStepKnob(window, lParam == KeyShiftHeld ? 1 : 0, wParam == KeyRight ? 1 : -1);
            return 1;
        }
        return AuditionKeyDown(window, static_cast<int>(wParam)) ? 1 : 0;
    case WM_KEYUP:
        AuditionKeyUp(static_cast<int>(wParam));
        return 0;
    case WM_KILLFOCUS:
        ReleaseAuditionKeys();
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return 0;
    case WM_DROPFILES:
        // A dropped file imports as Import Audio... does, where that is offered.
        if (const CommandRow* row = FindOfferedCommand(CmdImportAudio)) {
            ImportAudioFile(window, reinterpret_cast<const char*>(lParam));
            if (row->refresh) RefreshWindow(window);
        }
        return 0;
    case WM_CLOSE:
        RemovePreviewFile();
        ReleaseStrips();
        DestroyAppWindow(window);
        return 0;
    case WM_DESTROY:
        RemovePreviewFile();
        ReleaseStrips();
        PostQuitMessage(0);
        return 0;
    default:
        return 0;
    }
}

} // namespace

// After a message that can change the samples, the view or the knobs, the
// audition follows (the paint counts: the Additive view computes its frame
// there while a slider is dragged). A step that changed the document is
// recorded in the history, here for every command and gesture.
intptr_t MainWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    const std::string step = StepLabelOf(message, wParam, lParam);
    const intptr_t result = Dispatch(window, message, wParam, lParam);
    RecordStep(step);
    switch (message) {
    case WM_CREATE:
    case WM_COMMAND:
    case WM_PAINT:
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
        UpdateLiveAudition();
        break;
    default:
        break;
    }
    return result;
}

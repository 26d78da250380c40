#include "core/dispatcher.h"

#include "core/command_ids.h"
#include "core/edits.h"
#include "core/editor_state.h"
#include "core/menus.h"
#include "io/preview.h"
#include "synth/generators.h"
#include "synth/morph.h"

namespace {

const char* const EditorCaption = "QARNO Wavetable Editor";

bool WaveView() { return ViewMode == ViewWaveform; }
bool TableView() { return ViewMode == ViewWavetable; }

// Runs the Frame variant in the Waveform view and the Range variant in the
// Wavetable view; other views do not offer the command.
void FrameOrRange(void (*frame)(), void (*range)()) {
    if (WaveView()) frame();
    else if (TableView()) range();
}

void ShowAbout(WindowHandle window) {
    ShowMessageBox(window,
                   "QARNO Wavetable Maker\n\n"
                   "Single-cycle wavetables of 100 frames x 1024 samples:\n"
                   "generators, additive and padwave synthesis, morph,\n"
                   "edits, looping preview and 16-bit WAV export.",
                   "QARNO Wavetable Maker");
}

}  // namespace

void RefreshWindow(WindowHandle window) {
    BuildMenuBar(window);
    FullRepaint = true;
    InvalidateWindow(window);
}

intptr_t CommandDispatcher(WindowHandle window, uint16_t id) {
    bool refresh = true;
    switch (id) {
    case CmdNew:
        NewDocument();
        break;
    case CmdLoadWaveform:
        break;
    case CmdSaveWaveform:
        refresh = false;
        break;
    case CmdLoadWavetable:
        break;
    case CmdSaveWavetable:
        refresh = false;
        break;
    case CmdSaveWavedata:
        refresh = false;
        break;
    case CmdExit:
        DestroyAppWindow(window);
        return 0;
    case CmdLoadHarmonics:
        break;
    case CmdSaveHarmonics:
        refresh = false;
        break;
    case CmdSavePadwave:
        refresh = false;
        break;
    case CmdUndo:
        if (WaveView() || TableView()) RestoreUndoSnapshot();
        break;
    case CmdCut:
        FrameOrRange(CutFrame, CutRange);
        break;
    case CmdCopy:
        FrameOrRange(CopyFrame, CopyRange);
        refresh = false;
        break;
    case CmdPaste:
        FrameOrRange(PasteFrame, PasteRange);
        break;
    case CmdPasteMix:
        FrameOrRange(PasteMixFrame, PasteMixRange);
        break;
    case CmdClear:
        FrameOrRange(ClearFrame, ClearTable);
        break;
    case CmdNormalize:
        FrameOrRange(NormalizeFrame, NormalizeRange);
        if (ViewMode == ViewAdditive)
            ShowMessageBox(window, "Additive waveforms are automatically normalized.", EditorCaption);
        break;
    case CmdAmplify:
        FrameOrRange(AmplifyFrame, AmplifyRange);
        break;
    case CmdAttenuate:
        FrameOrRange(AttenuateFrame, AttenuateRange);
        break;
    case CmdInvert:
        FrameOrRange(InvertFrame, InvertRange);
        break;
    case CmdReverse:
        FrameOrRange(ReverseFrame, ReverseRange);
        break;
    case CmdMorph:
        if (WaveView())
            ShowMessageBox(window, "Select wavetable view to morph from one waveform to another.",
                           EditorCaption);
        else if (TableView())
            MorphFrames();
        break;
    case CmdGenerate:
        break;
    case CmdTimes10:
        if (ViewMode == ViewPadwave) PadwaveTimes10 = PadwaveTimes10 ? 0 : 1;
        break;
    case CmdPositive:
        break;
    case CmdNegative:
        break;
    case CmdViewWaveform:
        ViewMode = ViewWaveform;
        break;
    case CmdViewWavetable:
        ViewMode = ViewWavetable;
        break;
    case CmdViewAdditive:
        ViewMode = ViewAdditive;
        break;
    case CmdViewPadwave:
        ViewMode = ViewPadwave;
        break;
    case CmdSine:
        if (WaveView() || TableView()) GenerateSine();
        break;
    case CmdSaw:
        if (WaveView() || TableView()) GenerateSaw();
        break;
    case CmdRamp:
        if (WaveView() || TableView()) GenerateRamp();
        break;
    case CmdTriangle:
        if (WaveView() || TableView()) GenerateTriangle();
        break;
    case CmdSquare:
        if (WaveView() || TableView()) GenerateSquare();
        break;
    case CmdRandom:
        if (WaveView() || TableView()) GenerateRandom();
        break;
    case CmdPlay:
        PlayPreview(window);
        refresh = false;
        break;
    case CmdStop:
        StopSound();
        refresh = false;
        break;
    case CmdAbout:
        ShowAbout(window);
        refresh = false;
        break;
    default:
        // Unknown ids and the Synthesize menu's "&Additive" and "&Padwave"
        // items change nothing and do not repaint.
        return 0;
    }
    if (refresh) RefreshWindow(window);
    return 0;
}

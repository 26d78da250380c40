#include "app/dispatcher.h"

#include "core/command_ids.h"
#include "core/editor_state.h"
#include "core/edits.h"
#include "core/menus.h"
#include "io/preview.h"
#include "io/raw_files.h"
#include "io/wav_files.h"
#include "synth/additive.h"
#include "synth/generators.h"
#include "synth/morph.h"
#include "synth/padwave.h"

namespace {

const char* const EditorCaption = "QARNO Wavetable Editor";

bool WaveView() { return ViewMode == ViewWaveform; }
bool TableView() { return ViewMode == ViewWavetable; }
bool AdditiveView() { return ViewMode == ViewAdditive; }

// Runs the Frame variant in the Waveform view and the Range variant in the
// Wavetable view; other views do not offer the command.
void FrameOrRange(void (*frame)(), void (*range)()) {
    if (WaveView())
        frame();
    else if (TableView())
        range();
}

// Generators and Undo work on the table only in the Waveform and Wavetable views.
void InTableViews(void (*operation)()) {
    if (WaveView() || TableView()) operation();
}

// The same, with the harmonic-level edit of the Additive view.
void FrameRangeOrLevels(void (*frame)(), void (*range)(), void (*levels)()) {
    if (AdditiveView())
        levels();
    else
        FrameOrRange(frame, range);
}

// Cut and Clear in the Additive view: back to the default levels; the
// harmonic snapshot keeps what the last Copy or level edit saved.
void ClearLevels() {
    ResetHarmonics();
    SynthesizeAdditive();
}

void SetPolarity(int32_t polarity) {
    if (!AdditiveView()) return;
    Polarity = polarity;
    SynthesizeAdditive();
}

// Load Waveform fills the current frame, Load Wavetable the whole table. The
// undo snapshot is taken before the dialog, so even a cancelled load replaces it.
void LoadWav(WindowHandle window) {
    BeginTableEdit();
    if (WaveView())
        WavReader(window, RangeStart / SamplesPerFrame, 1);
    else
        WavReader(window, 0, FrameCount);
}

void ShowAbout(WindowHandle window) {
    ShowMessageBox(window,
                   "QARNO Wavetable Maker\n\n"
                   "Single-cycle wavetables of 100 frames x 1024 samples:\n"
                   "generators, additive and padwave synthesis, morph,\n"
                   "edits, looping preview and 16-bit WAV export.",
                   "QARNO Wavetable Maker");
}

} // namespace

intptr_t CommandDispatcher(WindowHandle window, CommandId id) {
    bool refresh = true;
    switch (id) {
    case CmdNew:
        NewDocument();
        break;
    case CmdLoadWaveform:
        if (WaveView()) LoadWav(window);
        break;
    case CmdSaveWaveform:
        if (WaveView()) {
            ComputeEditRange();
            WavWriter(window, Wavetable, RangeStart, FirstFrameEnd, 0, SamplesPerFrame - 1,
                      WavPurpose::SavedFrames);
        }
        refresh = false;
        break;
    case CmdLoadWavetable:
        if (TableView()) LoadWav(window);
        break;
    case CmdSaveWavetable:
        if (TableView()) {
            ComputeEditRange();
            WavWriter(window, Wavetable, 0, TableSamples, RangeStart, RangeEnd - 1,
                      WavPurpose::SavedFrames);
        }
        refresh = false;
        break;
    case CmdSaveWavedata:
        if (TableView()) WaveDataWriter(window);
        refresh = false;
        break;
    case CmdExport2048:
        if (TableView()) Export2048Writer(window);
        refresh = false;
        break;
    case CmdExit:
        DestroyAppWindow(window);
        return 0;
    case CmdLoadHarmonics:
        if (AdditiveView()) {
            HarmonicsReader(window);
            SynthesizeAdditive();
        }
        break;
    case CmdSaveHarmonics:
        if (AdditiveView()) HarmonicsWriter(window);
        refresh = false;
        break;
    case CmdSavePadwave:
        if (ViewMode == ViewPadwave)
            WavWriter(window, PadwaveBuffer, 0, PadwaveSamples, 0, PadwaveSamples - 1,
                      WavPurpose::SavedPad);
        refresh = false;
        break;
    case CmdUndo:
        if (AdditiveView())
            RestoreHarmonicSnapshot();
        else
            InTableViews(RestoreUndoSnapshot);
        break;
    case CmdCut:
        FrameRangeOrLevels(CutFrame, CutRange, ClearLevels);
        break;
    case CmdCopy:
        FrameRangeOrLevels(CopyFrame, CopyRange, CopyAdditiveFrame);
        refresh = false;
        break;
    case CmdPaste:
        FrameRangeOrLevels(PasteFrame, PasteRange, RestoreHarmonicSnapshot);
        break;
    case CmdPasteMix:
        FrameRangeOrLevels(PasteMixFrame, PasteMixRange, MixHarmonicSnapshot);
        break;
    case CmdClear:
        FrameRangeOrLevels(ClearFrame, ClearTable, ClearLevels);
        break;
    case CmdNormalize:
        FrameOrRange(NormalizeFrame, NormalizeRange);
        if (ViewMode == ViewAdditive)
            ShowMessageBox(window, "Additive waveforms are automatically normalized.",
                           EditorCaption);
        break;
    case CmdAmplify:
        FrameRangeOrLevels(AmplifyFrame, AmplifyRange, AmplifyHarmonics);
        break;
    case CmdAttenuate:
        FrameRangeOrLevels(AttenuateFrame, AttenuateRange, AttenuateHarmonics);
        break;
    case CmdInvert:
        FrameRangeOrLevels(InvertFrame, InvertRange, InvertHarmonics);
        break;
    case CmdReverse:
        FrameRangeOrLevels(ReverseFrame, ReverseRange, ReverseHarmonics);
        break;
    case CmdMorph:
        if (WaveView())
            ShowMessageBox(window, "Select wavetable view to morph from one waveform to another.",
                           EditorCaption);
        else if (TableView())
            MorphFrames();
        break;
    case CmdGenerate:
        if (ViewMode == ViewPadwave)
            GeneratePadwave(PadwaveTimes10 ? PadwaveValue * 10 : PadwaveValue);
        break;
    case CmdTimes10:
        if (ViewMode == ViewPadwave) PadwaveTimes10 = PadwaveTimes10 ? 0 : 1;
        break;
    case CmdPositive:
        SetPolarity(1);
        break;
    case CmdNegative:
        SetPolarity(0);
        break;
    case CmdViewWaveform:
        ViewMode = ViewWaveform;
        break;
    case CmdViewWavetable:
        ViewMode = ViewWavetable;
        break;
    case CmdViewAdditive:
        ViewMode = ViewAdditive;
        SynthesizeAdditive();
        break;
    case CmdViewPadwave:
        ViewMode = ViewPadwave;
        break;
    case CmdSine:
        InTableViews(GenerateSine);
        break;
    case CmdSaw:
        InTableViews(GenerateSaw);
        break;
    case CmdRamp:
        InTableViews(GenerateRamp);
        break;
    case CmdTriangle:
        InTableViews(GenerateTriangle);
        break;
    case CmdSquare:
        InTableViews(GenerateSquare);
        break;
    case CmdRandom:
        InTableViews(GenerateRandom);
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

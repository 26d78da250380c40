#include "app/commands.h"

#include <iterator>

#include "app/audition_keys.h"
#include "app/formula_command.h"
#include "app/frame_commands.h"
#include "app/history_command.h"
#include "app/live_audition.h"
#include "app/script_command.h"
#include "app/table_exchange.h"
#include "core/command_ids.h"
#include "core/command_table.h"
#include "core/editor_state.h"
#include "core/edits.h"
#include "io/audio_import.h"
#include "io/preview.h"
#include "io/project_file.h"
#include "io/raw_files.h"
#include "io/wav_files.h"
#include "synth/additive.h"
#include "synth/generators.h"
#include "synth/morph.h"
#include "synth/padwave.h"
#include "synth/spectral_morph.h"

namespace {

const char* const EditorCaption = "QARNO Wavetable Editor";

// The edits offered in the three editing views: the Frame variant in the
// Waveform view, the Range variant in the Wavetable view and the harmonic-level
// edit in the Additive view.
void ByView(void (*frame)(), void (*range)(), void (*levels)()) {
    if (ViewMode == ViewWaveform)
        frame();
    else if (ViewMode == ViewWavetable)
        range();
    else
        levels();
}

// Cut and Clear in the Additive view: back to the default levels; the
// harmonic snapshot keeps what the last Copy or level edit saved.
void ClearLevels() {
    ResetHarmonics();
    SynthesizeAdditive();
}

void New(WindowHandle, CommandId) { NewDocument(); }
void SaveProject(WindowHandle window, CommandId) { ProjectWriter(window); }
void OpenProject(WindowHandle window, CommandId) { ProjectReader(window); }

// Load Waveform fills the current frame, Load Wavetable the whole table. The
// undo snapshot is taken before the dialog, so even a cancelled load replaces it.
void LoadWav(WindowHandle window, CommandId) {
    BeginTableEdit();
    if (ViewMode == ViewWaveform)
        WavReader(window, RangeStart / SamplesPerFrame, 1);
    else
        WavReader(window, 0, FrameCount);
}

void SaveWaveform(WindowHandle window, CommandId) {
    ComputeEditRange();
    WavWriter(window, Wavetable, RangeStart, FirstFrameEnd, 0, SamplesPerFrame - 1,
              WavPurpose::SavedFrames, "waveform.wav");
}

void SaveWavetable(WindowHandle window, CommandId) {
    ComputeEditRange();
    WavWriter(window, Wavetable, 0, TableSamples, RangeStart, RangeEnd - 1, WavPurpose::SavedFrames,
              "wavetable.wav");
}

void SaveWavedata(WindowHandle window, CommandId) { WaveDataWriter(window); }
void LoadWavedata(WindowHandle window, CommandId) { WaveDataReader(window); }
void Export2048(WindowHandle window, CommandId) { Export2048Writer(window); }
void ImportAudioCommand(WindowHandle window, CommandId) { ImportAudio(window); }

void LoadHarmonics(WindowHandle window, CommandId) {
    HarmonicsReader(window);
    SynthesizeAdditive();
}

void SaveHarmonics(WindowHandle window, CommandId) { HarmonicsWriter(window); }

void SavePadwave(WindowHandle window, CommandId) {
    WavWriter(window, PadwaveBuffer, 0, PadwaveSamples, 0, PadwaveSamples - 1, WavPurpose::SavedPad,
              "padwave.wav");
}

void Exit(WindowHandle window, CommandId) { DestroyAppWindow(window); }

void Undo(WindowHandle, CommandId) {
    if (ViewMode == ViewAdditive)
        RestoreHarmonicSnapshot();
    else
        RestoreUndoSnapshot();
}

void Cut(WindowHandle, CommandId) { ByView(CutFrame, CutRange, ClearLevels); }
void Copy(WindowHandle, CommandId) { ByView(CopyFrame, CopyRange, CopyAdditiveFrame); }
void Paste(WindowHandle, CommandId) { ByView(PasteFrame, PasteRange, RestoreHarmonicSnapshot); }
void PasteMix(WindowHandle, CommandId) {
    ByView(PasteMixFrame, PasteMixRange, MixHarmonicSnapshot);
}
void Clear(WindowHandle, CommandId) { ByView(ClearFrame, ClearTable, ClearLevels); }

void Normalize(WindowHandle window, CommandId) {
    if (ViewMode == ViewWaveform)
        NormalizeFrame();
    else if (ViewMode == ViewWavetable)
        NormalizeRange();
    else
        ShowMessageBox(window, "Additive waveforms are automatically normalized.", EditorCaption);
}

void Amplify(WindowHandle, CommandId) { ByView(AmplifyFrame, AmplifyRange, AmplifyHarmonics); }
void Attenuate(WindowHandle, CommandId) {
    ByView(AttenuateFrame, AttenuateRange, AttenuateHarmonics);
}
void Invert(WindowHandle, CommandId) { ByView(InvertFrame, InvertRange, InvertHarmonics); }
void Reverse(WindowHandle, CommandId) { ByView(ReverseFrame, ReverseRange, ReverseHarmonics); }

void SetPolarity(WindowHandle, CommandId id) {
    Polarity = id == CmdPositive ? 1 : 0;
    SynthesizeAdditive();
}
bool PolarityChecked(CommandId id) { return Polarity == (id == CmdPositive ? 1 : 0); }

// Morph and Spectral Morph fade between the two knob frames of the Wavetable view.
void Morph(WindowHandle window, CommandId id) {
    if (ViewMode == ViewWaveform)
        ShowMessageBox(window, "Select wavetable view to morph from one waveform to another.",
                       EditorCaption);
    else if (id == CmdSpectralMorph)
        SpectralMorphFrames();
    else
        MorphFrames();
}

void Generate(WindowHandle, CommandId) {
    GeneratePadwave(PadwaveTimes10 ? PadwaveValue * 10 : PadwaveValue);
}
void ToggleTimes10(WindowHandle, CommandId) { PadwaveTimes10 = PadwaveTimes10 ? 0 : 1; }
bool Times10Checked(CommandId) { return PadwaveTimes10 != 0; }

// View item i of the View menu (ids 2500, 2510, ...) selects ViewMode 4000 + i.
int32_t ViewOf(CommandId id) { return ViewWaveform + (id - CmdViewWaveform) / 10; }
void ChooseView(WindowHandle, CommandId id) {
    ViewMode = ViewOf(id);
    if (ViewMode == ViewAdditive) SynthesizeAdditive();
}
bool ViewChecked(CommandId id) { return ViewMode == ViewOf(id); }

void Synthesize(WindowHandle, CommandId id) {
    switch (id) {
    case CmdSine:
        GenerateSine();
        break;
    case CmdSaw:
        GenerateSaw();
        break;
    case CmdRamp:
        GenerateRamp();
        break;
    case CmdTriangle:
        GenerateTriangle();
        break;
    case CmdSquare:
        GenerateSquare();
        break;
    case CmdRandom:
        GenerateRandom();
        break;
    }
}

void Play(WindowHandle window, CommandId) { PlayPreview(window); }
void Stop(WindowHandle, CommandId) {
    StopSound();
    SilenceAudition();
}

bool Never(CommandId) { return false; }

void ShowAbout(WindowHandle window, CommandId) {
    ShowMessageBox(window,
                   "QARNO Wavetable Maker\n"
                   "Version " QARNO_VERSION "\n\n"
                   "Single-cycle wavetables of 100 frames x 1024 samples:\n"
                   "generators, additive and padwave synthesis, morph and\n"
                   "frame refinements, a live audition from the keys and MIDI,\n"
                   "Import Audio by pitch, projects and WAV export.",
                   "QARNO Wavetable Maker");
}

const char* const File = "&File";
const char* const Edit = "&Edit";
const char* const View = "&View";
const char* const Synth = "&Synthesize";
const char* const Preview = "&Preview";
const char* const About = "&About";

// Every command in menu order. A separator is a row without a label; it stands
// in the views it names. The Synthesize menu's "&Additive" and "&Padwave" items
// change nothing and do not repaint.
const CommandRow CommandTable[] = {
    {File, "&New", CmdNew, InEveryView, "Ctrl+N", New, true},
    {File, "Save Project...", CmdSaveProject, InEveryView, "", SaveProject, false},
    {File, "Open Project...", CmdOpenProject, InEveryView, "", OpenProject, true},
    {File, nullptr, 0, InEveryView, "", nullptr, false},
    {File, "Load Waveform...", CmdLoadWaveform, InWaveform, "", LoadWav, true},
    {File, "Save Waveform...", CmdSaveWaveform, InWaveform, "", SaveWaveform, false},
    {File, "Import Audio...", CmdImportAudio, InWaveform, "", ImportAudioCommand, true},
    {File, "Load Wavetable...", CmdLoadWavetable, InWavetable, "", LoadWav, true},
    {File, "Save Wavetable...", CmdSaveWavetable, InWavetable, "", SaveWavetable, false},
    {File, nullptr, 0, InWavetable, "", nullptr, false},
    {File, "Save Wavedata...", CmdSaveWavedata, InWavetable, "", SaveWavedata, false},
    {File, "Load Wavedata...", CmdLoadWavedata, InWavetable, "", LoadWavedata, true},
    {File, "Export 2048 Wavetable...", CmdExport2048, InWavetable, "", Export2048, false},
    {File, "Export For...", CmdExportFor, InWavetable, "", ExportForCommand, false},
    {File, "Import Wavetable...", CmdImportWavetable, InWavetable, "", ImportWavetableCommand,
     true},
    {File, "Import Audio...", CmdImportAudio, InWavetable, "", ImportAudioCommand, true},
    {File, "Load Harmonics...", CmdLoadHarmonics, InAdditive, "", LoadHarmonics, true},
    {File, "Save Harmonics...", CmdSaveHarmonics, InAdditive, "", SaveHarmonics, false},
    {File, "Save Padwave...", CmdSavePadwave, InPadwave, "", SavePadwave, false},
    {File, nullptr, 0, InEveryView, "", nullptr, false},
    {File, "E&xit", CmdExit, InEveryView, "Ctrl+Q", Exit, false},

    {Edit, "&Undo", CmdUndo, InEditViews, "Ctrl+Z", Undo, true},
    {Edit, nullptr, 0, InEditViews, "", nullptr, false},
    {Edit, "Cu&t", CmdCut, InEditViews, "Ctrl+X", Cut, true},
    {Edit, "&Copy", CmdCopy, InEditViews, "Ctrl+C", Copy, false},
    {Edit, "&Paste", CmdPaste, InEditViews, "Ctrl+V", Paste, true},
    {Edit, "Paste &Mix", CmdPasteMix, InEditViews, "", PasteMix, true},
    {Edit, "C&lear", CmdClear, InEditViews, "", Clear, true},
    {Edit, nullptr, 0, InEditViews, "", nullptr, false},
    {Edit, "&Normalize", CmdNormalize, InEditViews, "", Normalize, true},
    {Edit, "&Amplify", CmdAmplify, InEditViews, "", Amplify, true},
    {Edit, "Att&enuate", CmdAttenuate, InEditViews, "", Attenuate, true},
    {Edit, "&Invert", CmdInvert, InEditViews, "", Invert, true},
    {Edit, "&Reverse", CmdReverse, InEditViews, "", Reverse, true},
    {Edit, nullptr, 0, InEditViews, "", nullptr, false},
    {Edit, "Positive", CmdPositive, InAdditive, "", SetPolarity, true, PolarityChecked, nullptr,
     nullptr, nullptr, false, false},
    {Edit, "Negative", CmdNegative, InAdditive, "", SetPolarity, true, PolarityChecked, nullptr,
     nullptr, nullptr, false, false},
    {Edit, "&Morph", CmdMorph, InTableViews, "", Morph, true},
    {Edit, nullptr, 0, InTableViews, "", nullptr, false},
    {Edit, "Spectral Morph", CmdSpectralMorph, InTableViews, "", Morph, true},
    {Edit, "Fill Gaps", CmdFillGaps, InTableViews, "", FillGapsCommand, true},
    {Edit, "Fill Gaps Spectral", CmdFillGapsSpectral, InTableViews, "", FillGapsCommand, true},
    {Edit, nullptr, 0, InTableViews, "", nullptr, false},
    {Edit, "Remove DC", CmdRemoveDc, InTableViews, "", EachFrameCommand, true},
    {Edit, "Normalize Each", CmdNormalizeEach, InTableViews, "", EachFrameCommand, true},
    {Edit, "Align Phase", CmdAlignPhase, InTableViews, "", EachFrameCommand, true},
    {Edit, nullptr, 0, InTableViews, "", nullptr, false},
    {Edit, "Low Pass...", CmdLowPass, InTableViews, "", AskedFrameCommand, true},
    {Edit, "High Pass...", CmdHighPass, InTableViews, "", AskedFrameCommand, true},
    {Edit, "Harmonic Shift...", CmdHarmonicShift, InTableViews, "", AskedFrameCommand, true},
    {Edit, "Wave Fold...", CmdWaveFold, InTableViews, "", AskedFrameCommand, true},
    {Edit, "&Generate", CmdGenerate, InPadwave, "", Generate, true},
    {Edit, "&x10", CmdTimes10, InPadwave, "", ToggleTimes10, true, Times10Checked, nullptr, nullptr,
     nullptr, false, false},
    {Edit, nullptr, 0, InEditViews, "", nullptr, false},
    {Edit, "History...", CmdHistory, InEditViews, "Ctrl+H", HistoryCommand, true, nullptr, nullptr,
     nullptr, nullptr, false, false},

    {View, "&Waveform", CmdViewWaveform, InEveryView, "", ChooseView, true, ViewChecked, nullptr,
     nullptr, nullptr, false, false},
    {View, "&Wavetable", CmdViewWavetable, InEveryView, "", ChooseView, true, ViewChecked, nullptr,
     nullptr, nullptr, false, false},
    {View, "&Additive", CmdViewAdditive, InEveryView, "", ChooseView, true, ViewChecked, nullptr,
     nullptr, nullptr, false, false},
    {View, "&Padwave", CmdViewPadwave, InEveryView, "", ChooseView, true, ViewChecked, nullptr,
     nullptr, nullptr, false, false},

    {Synth, "&Additive", CmdSynthAdditive, InTableViews, "", nullptr, false},
    {Synth, "&Padwave", CmdSynthPadwave, InTableViews, "", nullptr, false},
    {Synth, nullptr, 0, InTableViews, "", nullptr, false},
    {Synth, "Sine", CmdSine, InTableViews, "", Synthesize, true},
    {Synth, "Saw", CmdSaw, InTableViews, "", Synthesize, true},
    {Synth, "Ramp", CmdRamp, InTableViews, "", Synthesize, true},
    {Synth, "Triangle", CmdTriangle, InTableViews, "", Synthesize, true},
    {Synth, "Square", CmdSquare, InTableViews, "", Synthesize, true},
    {Synth, "Random", CmdRandom, InTableViews, "", Synthesize, true},
    {Synth, nullptr, 0, InTableViews, "", nullptr, false},
    {Synth, "Formula...", CmdFormula, InTableViews, "", FormulaCommand, true},
    {Synth, "Script...", CmdScript, InTableViews, "", ScriptCommand, true},

    {Preview, "&Play", CmdPlay, InEveryView, "Space", Play, false},
    {Preview, "&Stop", CmdStop, InEveryView, "Esc", Stop, false},
    {Preview, nullptr, 0, InEveryView, "", nullptr, false},
    {Preview, "0.5 s", CmdSweepHalfSecond, InEveryView, "", ChooseSweepTime, true, SweepTimeChecked,
     "Sweep Time", nullptr, nullptr, true, false},
    {Preview, "1 s", CmdSweep1Second, InEveryView, "", ChooseSweepTime, true, SweepTimeChecked,
     "Sweep Time", nullptr, nullptr, true, false},
    {Preview, "2 s", CmdSweep2Seconds, InEveryView, "", ChooseSweepTime, true, SweepTimeChecked,
     "Sweep Time", nullptr, nullptr, true, false},
    {Preview, "4 s", CmdSweep4Seconds, InEveryView, "", ChooseSweepTime, true, SweepTimeChecked,
     "Sweep Time", nullptr, nullptr, true, false},
    {Preview, "8 s", CmdSweep8Seconds, InEveryView, "", ChooseSweepTime, true, SweepTimeChecked,
     "Sweep Time", nullptr, nullptr, true, false},
    {Preview, "MIDI", CmdMidiStatus, InEveryView, "", nullptr, false, nullptr, nullptr, Never,
     MidiStatusLabel},
    {Preview, "Keys", CmdAuditionKeys, InEveryView, "", nullptr, false, nullptr, nullptr, Never,
     AuditionKeysLabel},

    {About, "&About", CmdAbout, InEveryView, "", ShowAbout, false},
};

} // namespace

void InstallCommands() { InstallCommandTable(CommandTable, std::size(CommandTable)); }

#include "app/frame_commands.h"

#include <cstdint>

#include "core/command_ids.h"
#include "synth/fill_gaps.h"
#include "synth/frame_processes.h"
#include "synth/wave_fold.h"

namespace {

// A command that asks for a number first, with the value its dialog offers.
struct AskedProcess {
    CommandId id;
    NumberQuestion question;
    double last;
    void (*run)(double value);
};

AskedProcess AskedProcesses[] = {
    {CmdLowPass,
     {"Keep harmonics up to:", 1, 511, true},
     32,
     [](double value) { LowPassEach(static_cast<int32_t>(value)); }},
    {CmdHighPass,
     {"Remove harmonics below:", 1, 511, true},
     2,
     [](double value) { HighPassEach(static_cast<int32_t>(value)); }},
    {CmdHarmonicShift,
     {"Shift harmonics by:", -511, 511, true},
     1,
     [](double value) { ShiftHarmonicsEach(static_cast<int32_t>(value)); }},
    {CmdWaveFold,
     {"Fold gain:", 1, 16, false},
     2,
     [](double value) { WaveFoldEach(static_cast<float>(value)); }},
};

} // namespace

void FillGapsCommand(WindowHandle window, CommandId id) {
    if (!FillGaps(id == CmdFillGapsSpectral))
        ShowMessageBox(window, "Fill Gaps needs two frames with sound in the range.",
                       "QARNO Wavetable Maker");
}

void EachFrameCommand(WindowHandle, CommandId id) {
    if (id == CmdRemoveDc)
        RemoveDcEach();
    else if (id == CmdNormalizeEach)
        NormalizeEach();
    else
        AlignPhaseEach();
}

void AskedFrameCommand(WindowHandle window, CommandId id) {
    for (AskedProcess& process : AskedProcesses) {
        if (process.id != id) continue;
        if (AskNumber(window, process.question, process.last)) process.run(process.last);
        return;
    }
}

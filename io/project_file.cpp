#include "io/project_file.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/editor_state.h"
#include "core/panel.h"
#include "io/file_access.h"
#include "io/project_format.h"

namespace {

FileDialog ProjectDialog(bool save) {
    return {save, "QARNO Project (*.wav)", "*.wav", "wav", save ? "project.wav" : ""};
}

ProjectDocument CaptureDocument() {
    ProjectDocument d;
    std::copy(Wavetable, Wavetable + TableSamples, d.table.begin());
    std::copy(PadwaveBuffer, PadwaveBuffer + PadwaveSamples, d.pad.begin());
    std::copy(AdditiveFrame, AdditiveFrame + SamplesPerFrame, d.additive.begin());
    for (int k = 0; k < KnobCount; ++k) d.knobs[k] = Knobs[k].value;
    d.padwaveValue = PadwaveValue;
    d.padwaveTimes10 = PadwaveTimes10;
    d.polarity = Polarity;
    d.view = ViewMode;
    std::copy(Harmonics, Harmonics + HarmonicCount, d.harmonics);
    d.formula = CurrentFormula;
    d.script = CurrentScript;
    return d;
}

// The Wave and Offset knobs choose the frames as a drag of them does.
void CommitDocument(const ProjectDocument& d) {
    TakeUndoSnapshot();
    std::copy(d.table.begin(), d.table.end(), Wavetable);
    std::copy(d.pad.begin(), d.pad.end(), PadwaveBuffer);
    std::copy(d.additive.begin(), d.additive.end(), AdditiveFrame);
    for (int k = 0; k < KnobCount; ++k) Knobs[k].value = d.knobs[k];
    CurrentFrame = d.knobs[0];
    OffsetFrame = d.knobs[1];
    PadwaveValue = d.padwaveValue;
    PadwaveTimes10 = static_cast<uint8_t>(d.padwaveTimes10);
    Polarity = d.polarity;
    ViewMode = d.view;
    std::copy(d.harmonics, d.harmonics + HarmonicCount, Harmonics);
    CurrentFormula = d.formula;
    CurrentScript = d.script;
    ComputeEditRange();
}

} // namespace

void ProjectWriter(WindowHandle owner) {
    SaveThroughDialog(owner, ProjectDialog(true),
                      [] { return BuildProjectImage(CaptureDocument()); });
}

void ProjectReader(WindowHandle owner) {
    std::string path;
    std::vector<uint8_t> bytes;
    if (!LoadThroughDialog(owner, ProjectDialog(false), path, bytes)) return;
    ProjectDocument document;
    switch (ParseProject(bytes.data(), bytes.size(), document)) {
    case ProjectStatus::Ok:
        CommitDocument(document);
        return;
    case ProjectStatus::NotProject:
        ReportFileError(owner, {"not a project file", ""}, path);
        return;
    case ProjectStatus::Damaged:
        ReportFileError(owner, {"damaged project file", ""}, path);
        return;
    }
}

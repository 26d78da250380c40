#include "app/formula_command.h"

#include <algorithm>
#include <string>

#include "app/live_audition.h"
#include "core/editor_state.h"
#include "synth/formula.h"
#include "synth/frame_processes.h"
#include "ui/formula_preview.h"

namespace {

// The dialog's state for the callbacks: the window, the frames of the edit
// range and the table with the last formula without an error computed over
// them.
WindowHandle Owner = nullptr;
int32_t First = 0;
int32_t Last = 0;
float PreviewTable[TableSamples];

FormulaCheck Preview(const Formula& formula, Surface& raster) {
    FormulaCheck check;
    const FormulaOutcome wrong = CheckFormula(formula);
    if (!wrong.error.empty()) {
        check.error = (wrong.inPhase ? "Phase: " : "") + wrong.error;
        return check;
    }
    std::copy(Wavetable, Wavetable + TableSamples, PreviewTable);
    const FormulaOutcome outcome = ApplyFormula(formula, PreviewTable, First, Last);
    check.notice = NonFiniteNote(formula.mode, outcome.nonFinite);
    DrawFormulaPreview(raster, PreviewTable, First, Last, CurrentFrame);
    UpdateLiveAudition();
    return check;
}

void Listen(bool on) { ListenToPreview(Owner, on); }

} // namespace

void FormulaCommand(WindowHandle window, CommandId) {
    Owner = window;
    EditFrames(First, Last);
    FormulaDialog dialog;
    dialog.formula = CurrentFormula;
    dialog.preview = Preview;
    dialog.listen = Listen;
    if (!AskWithPreview(window, PreviewTable, [&] { return AskFormula(window, dialog); })) return;
    CurrentFormula = dialog.formula;
    TakeUndoSnapshot();
    ApplyFormula(CurrentFormula, Wavetable, First, Last);
}

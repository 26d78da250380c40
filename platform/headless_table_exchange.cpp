// The headless side of the Export For and Import Wavetable dialogs.
#include "platform/table_exchange_dialog.h"

std::deque<std::function<void(ExportDialog&)>> HeadlessExportAnswers;
std::vector<ExportDialog> HeadlessExportDialogs;
std::deque<std::function<void(ImportTableDialog&)>> HeadlessImportTableAnswers;
std::vector<ImportTableDialog> HeadlessImportTableDialogs;
std::vector<std::string> HeadlessTableDialogRefusals;

namespace {

template <typename Dialog>
bool Answer(Dialog& dialog, const DialogCheck<Dialog>& check,
            std::deque<std::function<void(Dialog&)>>& answers) {
    Dialog fields = dialog;
    while (!answers.empty()) {
        const std::function<void(Dialog&)> answer = answers.front();
        answers.pop_front();
        if (!answer) return false;
        answer(fields);
        const std::string refusal = check(fields);
        if (refusal.empty()) {
            dialog = fields;
            return true;
        }
        HeadlessTableDialogRefusals.push_back(refusal);
    }
    return false;
}

} // namespace

bool AskExportChoices(WindowHandle, ExportDialog& dialog, const DialogCheck<ExportDialog>& check) {
    HeadlessExportDialogs.push_back(dialog);
    return Answer(dialog, check, HeadlessExportAnswers);
}

bool AskImportTableChoices(WindowHandle, ImportTableDialog& dialog,
                           const DialogCheck<ImportTableDialog>& check) {
    HeadlessImportTableDialogs.push_back(dialog);
    return Answer(dialog, check, HeadlessImportTableAnswers);
}

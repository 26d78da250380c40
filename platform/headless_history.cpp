// The history dialog of the headless backend.
#include "platform/history_dialog.h"

std::deque<HeadlessHistoryAnswer> HeadlessHistoryAnswers;
std::vector<std::vector<HistoryRow>> HeadlessHistoryDialogs;

bool AskHistoryEntry(WindowHandle, const HistoryDialog& dialog, int& number) {
    HeadlessHistoryDialogs.push_back(dialog.rows);
    if (HeadlessHistoryAnswers.empty()) return false;
    const HeadlessHistoryAnswer answer = HeadlessHistoryAnswers.front();
    HeadlessHistoryAnswers.pop_front();
    const int count = static_cast<int>(dialog.rows.size());
    for (int move : answer.moves)
        if (move >= 1 && move <= count) dialog.show(move);
    if (!answer.chosen || *answer.chosen < 1 || *answer.chosen > count) return false;
    dialog.show(*answer.chosen);
    number = *answer.chosen;
    return true;
}

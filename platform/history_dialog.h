// The history dialog: the entries of the document's history, newest first.
// Moving the selection shows an entry at once; OK chooses it.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

struct HistoryRow {
    std::string label;
    std::string time;    // "hh:mm:ss"
    std::string changes; // what the step changed
};
struct HistoryDialog {
    std::vector<HistoryRow> rows; // row i is entry number i + 1, 1 the newest
    // Called with the entry's number each time the selection moves to it.
    std::function<void(int number)> show;
};
// Runs the dialog with the newest entry selected. True with the chosen entry's
// number in `number` on OK (Enter); false on Cancel (Esc).
bool AskHistoryEntry(WindowHandle owner, const HistoryDialog& dialog, int& number);

// What the user last answered a file or number dialog with, since the last
// ForgetDialogAnswer: a file's name without its folder, or the number as
// typed. It names the step in the history ("Load Wavetable bass.wav").
void NoteDialogAnswer(const std::string& answer);
void ForgetDialogAnswer();
const std::string& DialogAnswer();

// The headless backend's answers, front first: the entries the selection
// moves to, each shown in turn, then the number OK takes, or none for Cancel.
// No answer left cancels at once. Every dialog's rows are recorded.
struct HeadlessHistoryAnswer {
    std::vector<int> moves;
    std::optional<int> chosen;
};
extern std::deque<HeadlessHistoryAnswer> HeadlessHistoryAnswers;
extern std::vector<std::vector<HistoryRow>> HeadlessHistoryDialogs;

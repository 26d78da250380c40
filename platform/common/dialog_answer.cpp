#include "platform/history_dialog.h"

namespace {
std::string Answer;
}

// The first answer counts: Import Audio asks for the file before its choices.
void NoteDialogAnswer(const std::string& answer) {
    if (Answer.empty()) Answer = answer;
}

void ForgetDialogAnswer() { Answer.clear(); }

const std::string& DialogAnswer() { return Answer; }

// The document's history in the editor: each step recorded after the message
// that made it, and the History... command that shows and brings back entries.
#pragma once

#include <string>

#include "platform/platform.h"

// The label of the step a message may make, taken before it runs (a command
// may change the view and so its menus): the command's menu label without '&'
// and "...", "Harmonic levels" for the release that ends a slider drag;
// empty for a message that cannot change the document.
std::string StepLabelOf(uint32_t message, uintptr_t wParam, intptr_t lParam);
// After the message: an entry when the document changed, named by `label`
// and the file or number the user answered a dialog with.
void RecordStep(const std::string& label);

// Edit > History...: the entries in a dialog; each one the selection moves to
// is shown in the window and heard in the audition, OK brings the chosen one
// back, Cancel returns to the document as it was.
void HistoryCommand(WindowHandle window, CommandId id);

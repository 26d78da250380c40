// The history of the document: after every step that changed the table, the
// harmonic levels or the pad, an entry holding the document as that step left
// it. Entries share the frames and the pad they did not change, so a one-frame
// edit stores one frame. Beside Undo, which keeps its one level.
#pragma once

#include <cstddef>
#include <string>

#include "platform/history_dialog.h"

// The oldest entries go once there are more than these, or they hold more bytes.
extern size_t HistoryMaxEntries; // 1000
extern size_t HistoryMaxBytes;   // 256 MB

// Forgets every entry and records the document as it stands as "Start".
void StartHistory();
// Adds an entry `label` when the document differs from the newest entry; true
// then. Nothing before StartHistory.
bool RecordHistory(const std::string& label);
int HistoryCount();
// Entry `number`, 1 being the newest: its label ("Saw", "Low Pass 32", "Back
// to: New"), time and changes ("frames 11–21, harmonics, pad"; none for "Start").
const HistoryRow& HistoryEntryAt(int number);
// Puts the table, the harmonic levels and the pad of entry `number` into the
// document, and nothing else.
void ShowHistoryEntry(int number);
// Brings entry `number` back as a step of its own: the undo snapshot first,
// then the entry's document, then an entry "Back to: <label>". The caller
// recomputes the additive frame.
void RestoreHistoryEntry(int number);
// The bytes the entries hold: their frames, pads, levels and texts.
size_t HistoryBytes();

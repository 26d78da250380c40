// Script...: computes the frames an edit works on from a wavetable script in
// Surge XT's Lua API, run in a process of its own, previewed and heard in the
// script dialog.
#pragma once

#include <string>

#include "io/file_access.h"
#include "platform/platform.h"
#include "platform/script_dialog.h"

// Offers CurrentScript (Frames filled in with the range's count when it has
// none). While the dialog is open the audition plays the last run's frames.
// OK takes the undo snapshot, writes the frames and keeps the script as
// CurrentScript; Cancel changes nothing and takes no snapshot.
void ScriptCommand(WindowHandle window, CommandId id);

// Reads a script: a .wtscript file with its frames and samples, any other
// file as the script's text. False, with what is wrong, when it cannot.
bool ReadScriptFile(const std::string& path, WavetableScript& script, FileError& error);

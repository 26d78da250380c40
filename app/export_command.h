// `qarno-wavetable-maker export IN OUT --for TARGET [options]`: any table
// Import Wavetable reads, written in the layout another synth reads, without
// a window.
#pragma once

#include <string>

// Runs the command; argv[1] is "export". Returns the exit status: 0 done, 1 a
// file that could not be read or written (one line on stderr, no output
// file), 2 misuse (the usage on stderr).
int RunExportCommand(int argc, char** argv);

// Reads a TARGET as the command line names it: a target's word ("serum",
// "surge", ...) or "custom:FRAMESxSAMPLES:BITS:TAG" (BITS 16, 24 or float,
// TAG clm, srge or none); a custom layout is a .wt file when `wt`. False for
// anything else.
struct ExportLayout;
bool ParseTargetWord(const std::string& word, bool wt, ExportLayout& layout);

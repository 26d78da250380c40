// Runs a wavetable script in a process of its own, never in the editor's: the
// small runner program beside the editor's (qarno-script-runner), started
// with posix_spawn, limits itself in CPU time and memory and answers through
// a socket. The editor stops it after 5 s of waiting. Whatever the script
// does, the editor goes on and gets an answer.
#pragma once

#include <string>

#include "platform/script_protocol.h"

// The runner's path; nullptr (the default) for the one beside this program.
extern const char* ScriptRunnerPath;

// The script's frames, or the error to show: the script's own ("line 7:
// ..."), the time or memory limit's, or what became of the runner.
ScriptAnswer RunScriptProcess(const ScriptRequest& request);

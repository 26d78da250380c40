// Runs a wavetable script in a fresh Lua state inside the script runner's own
// process (never in the editor's): Surge XT's API, init(wt) once and
// generate(wt) for each frame, with the standard libraries that cannot reach
// the file system, programs or the interpreter's internals, and at most
// ScriptMemoryLimit bytes for Lua. The caller bounds the time.
#pragma once

#include <cstddef>

#include "platform/script_protocol.h"

constexpr size_t ScriptMemoryLimit = size_t{256} << 20;

ScriptAnswer RunScriptSandboxed(const ScriptRequest& request);

// The helpers Surge XT's shared scripts call (math.parity, math.linspace,
// limit_range, surge.mod.normalize_peaks, ...), as Lua source.
extern const char ScriptHelpers[];

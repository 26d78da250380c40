// A wavetable script's frames in the table: run in their own process (see
// platform/script_process.h), each frame brought to 1024 samples band-limited
// as imports do, and placed across the range by the frames-between rule
// (crossfade) when their count differs from the range's. Values are written
// as the script gives them; a value that is not finite becomes 0.
#pragma once

#include <cstdint>
#include <string>

#include "platform/script_dialog.h"
#include "platform/script_protocol.h"

struct ScriptOutcome {
    std::string error; // as the run gave it; nothing was written
    std::string name;  // wt.name, when the script set one
    int32_t nonFinite = 0;
};

// Frames and Samples as a run uses them: Frames of the range filled in.
ScriptRequest ScriptRequestFor(const WavetableScript& script, int32_t lo, int32_t hi);

// Places the answer's frames into frames lo..hi (0-based, lo <= hi) of table
// (100 frames of 1024 samples); returns how many values were not finite.
int32_t PlaceScriptFrames(const ScriptRequest& request, const ScriptAnswer& answer, float* table,
                          int32_t lo, int32_t hi);

// Runs the script and places its frames; on an error nothing is written.
ScriptOutcome ApplyScript(const WavetableScript& script, float* table, int32_t lo, int32_t hi);

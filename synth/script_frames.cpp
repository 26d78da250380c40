#include "synth/script_frames.h"

#include <cmath>
#include <vector>

#include "core/table_shape.h"
#include "platform/script_process.h"
#include "synth/table_reshape.h"

ScriptRequest ScriptRequestFor(const WavetableScript& script, int32_t lo, int32_t hi) {
    ScriptRequest request;
    request.lua = script.lua;
    request.frames = script.frames == ScriptFramesOfRange ? hi - lo + 1 : script.frames;
    request.samples = script.samples;
    return request;
}

int32_t PlaceScriptFrames(const ScriptRequest& request, const ScriptAnswer& answer, float* table,
                          int32_t lo, int32_t hi) {
    std::vector<float> values = answer.values;
    int32_t nonFinite = 0;
    for (float& v : values)
        if (!std::isfinite(v)) {
            v = 0.0f;
            ++nonFinite;
        }
    FitFrames(values.data(), request.frames, request.samples, hi - lo + 1, FramesBetween::Crossfade,
              table + size_t(lo) * SamplesPerFrame);
    return nonFinite;
}

ScriptOutcome ApplyScript(const WavetableScript& script, float* table, int32_t lo, int32_t hi) {
    const ScriptRequest request = ScriptRequestFor(script, lo, hi);
    const ScriptAnswer answer = RunScriptProcess(request);
    ScriptOutcome outcome;
    outcome.error = answer.error;
    outcome.name = answer.name;
    if (outcome.error.empty())
        outcome.nonFinite = PlaceScriptFrames(request, answer, table, lo, hi);
    return outcome;
}

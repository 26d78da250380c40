// The .wtscript reader on any bytes, and the runner's request and answer readers on the same: what
// the file reader takes is within the dialog's limits and writes and reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/wtscript_file.h"
#include "platform/script_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ScriptRequest request;
    ScriptAnswer answer;
    if (DecodeScriptRequest(bytes, request) && EncodeScriptRequest(request) != bytes)
        __builtin_trap();
    if (DecodeScriptAnswer(bytes, {"", 2, 4}, answer) && answer.error.empty() &&
        answer.values.size() != 8)
        __builtin_trap();
    WavetableScript script;
    std::string wrong;
    if (!ParseWtscript(data, size, script, wrong)) return wrong.empty() ? (__builtin_trap(), 0) : 0;
    if (script.frames < 1 || script.frames > ScriptMaxFrames ||
        SampleCountCode(script.samples) == 0)
        __builtin_trap();
    const std::vector<uint8_t> written = BuildWtscriptImage(script);
    WavetableScript again;
    if (!ParseWtscript(written.data(), written.size(), again, wrong) || again.lua != script.lua ||
        again.frames != script.frames || again.samples != script.samples)
        __builtin_trap();
    return 0;
}

#include "platform/script_protocol.h"

#include <cstdio>
#include <cstring>

namespace {

bool ShapeValid(int32_t frames, int32_t samples) {
    return frames >= 1 && frames <= ScriptMaxFrames && samples >= ScriptMinSamples &&
           samples <= ScriptMaxSamples;
}

} // namespace

std::string EncodeScriptRequest(const ScriptRequest& request) {
    char header[64];
    std::snprintf(header, sizeof header, "QLUA %d %d %zu\n", request.frames, request.samples,
                  request.lua.size());
    return header + request.lua;
}

bool DecodeScriptRequest(const std::string& bytes, ScriptRequest& request) {
    const size_t end = bytes.find('\n');
    if (end == std::string::npos || end > 40) return false;
    int frames = 0, samples = 0;
    unsigned long length = 0;
    const std::string header = bytes.substr(0, end + 1);
    if (std::sscanf(header.c_str(), "QLUA %d %d %lu", &frames, &samples, &length) != 3 ||
        !ShapeValid(frames, samples) || length > ScriptMaxBytes || bytes.size() - end - 1 != length)
        return false;
    ScriptRequest read = {bytes.substr(end + 1), frames, samples};
    if (EncodeScriptRequest(read).compare(0, header.size(), header) != 0)
        return false; // one spelling
    request = read;
    return true;
}

std::string EncodeScriptAnswer(const ScriptAnswer& answer) {
    if (!answer.error.empty()) return "E" + answer.error;
    const uint32_t nameBytes = static_cast<uint32_t>(answer.name.size());
    std::string bytes = "V";
    bytes.append(reinterpret_cast<const char*>(&nameBytes), 4);
    bytes += answer.name;
    bytes.append(reinterpret_cast<const char*>(answer.values.data()),
                 answer.values.size() * sizeof(float));
    return bytes;
}

bool DecodeScriptAnswer(const std::string& bytes, const ScriptRequest& request,
                        ScriptAnswer& answer) {
    if (bytes.size() > 1 && bytes[0] == 'E') {
        answer.error = bytes.substr(1);
        return true;
    }
    uint32_t nameBytes = 0;
    if (bytes.size() < 5 || bytes[0] != 'V') return false;
    std::memcpy(&nameBytes, bytes.data() + 1, 4);
    const size_t count = size_t(request.frames) * size_t(request.samples);
    if (nameBytes > ScriptMaxNameBytes || bytes.size() != 5 + nameBytes + count * sizeof(float))
        return false;
    answer.error.clear();
    answer.name = bytes.substr(5, nameBytes);
    answer.values.resize(count);
    std::memcpy(answer.values.data(), bytes.data() + 5 + nameBytes, count * sizeof(float));
    return true;
}

// What the editor and the script runner (a process of its own, see
// platform/script_process.h) say to each other over one socket. The editor
// sends the request and closes its side for writing; the runner answers once.
//   request: "QLUA <frames> <samples> <length>\n" and the script's bytes;
//   answer:  'E' and the error's text, or 'V', the name's length (4 bytes),
//            the name and frames x samples floats, frame after frame,
//            in the machine's own byte order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What one run may ask for: a frame of up to 4096 samples (Surge XT's
// largest), up to 512 frames, a script of up to 1 MB.
constexpr int32_t ScriptMinSamples = 2;
constexpr int32_t ScriptMaxSamples = 4096;
constexpr int32_t ScriptMaxFrames = 512;
constexpr size_t ScriptMaxBytes = 1 << 20;
constexpr size_t ScriptMaxNameBytes = 256;

// The two messages of the limits, as the dialog and the command line show them.
constexpr char ScriptTimeMessage[] = "the script ran longer than 5 s";
constexpr char ScriptMemoryMessage[] = "the script used more than 256 MB";

struct ScriptRequest {
    std::string lua;
    int32_t frames = 1;
    int32_t samples = 1024;
};

struct ScriptAnswer {
    std::string error;         // "line 7: ...", or empty when the script ran
    std::string name;          // wt.name as the script set it, or empty
    std::vector<float> values; // frames x samples when the script ran
};

std::string EncodeScriptRequest(const ScriptRequest& request);
// False for anything that is not a whole request within the limits.
bool DecodeScriptRequest(const std::string& bytes, ScriptRequest& request);
std::string EncodeScriptAnswer(const ScriptAnswer& answer);
// False for anything but a whole answer to `request`.
bool DecodeScriptAnswer(const std::string& bytes, const ScriptRequest& request,
                        ScriptAnswer& answer);

#include "io/wtscript_file.h"

#include <cstring>
#include <map>

#include "platform/common/text_parse.h"
#include "platform/script_protocol.h"

namespace {

constexpr char Base64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string EncodeBase64(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); i += 3) {
        uint32_t group = uint32_t(uint8_t(text[i])) << 16;
        if (i + 1 < text.size()) group |= uint32_t(uint8_t(text[i + 1])) << 8;
        if (i + 2 < text.size()) group |= uint8_t(text[i + 2]);
        for (size_t k = 0; k < 4; ++k)
            out += i + k <= text.size() ? Base64Digits[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

// Padding optional, whitespace allowed between digits, nothing else.
bool DecodeBase64(const std::string& digits, std::string& text) {
    uint32_t group = 0;
    int bits = 0;
    size_t padding = 0;
    text.clear();
    for (char c : digits) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') continue;
        if (c == '=' && ++padding <= 2) continue;
        const char* digit = c ? std::strchr(Base64Digits, c) : nullptr;
        if (digit == nullptr || padding > 0) return false;
        group = (group << 6) | uint32_t(digit - Base64Digits);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            text += char((group >> bits) & 0xFF);
        }
        if (text.size() > ScriptMaxBytes) return false;
    }
    return bits < 6 && (group & ((1u << bits) - 1)) == 0;
}

using Attributes = std::map<std::string, std::string>;

// Walks the XML's elements; `element` is called for each start tag with its
// depth (the root at 0). False for anything that is not well formed.
template <typename Element> bool WalkXml(const std::string& xml, Element element) {
    std::vector<std::string> open;
    bool rootSeen = false;
    for (size_t at = 0; at < xml.size();) {
        if (xml[at] != '<') {
            const size_t next = xml.find('<', at);
            const std::string text = xml.substr(at, next - at);
            if (open.empty() && text.find_first_not_of(" \t\r\n\xEF\xBB\xBF") != std::string::npos)
                return false;
            at = next == std::string::npos ? xml.size() : next;
            continue;
        }
        const bool special = xml.compare(at, 2, "<?") == 0 || xml.compare(at, 4, "<!--") == 0;
        const size_t end = xml.find(xml.compare(at, 4, "<!--") == 0 ? "-->" : ">", at);
        if (end == std::string::npos) return false;
        const std::string tag = xml.substr(at + 1, end - at - 1);
        at = end + 1;
        if (special) continue;
        if (!tag.empty() && tag[0] == '/') {
            if (open.empty() || open.back() != tag.substr(1)) return false;
            open.pop_back();
            continue;
        }
        const bool empty = !tag.empty() && tag.back() == '/';
        const std::string body = tag.substr(0, tag.size() - (empty ? 1 : 0));
        const size_t nameEnd = body.find_first_of(" \t\r\n");
        const std::string name = body.substr(0, nameEnd);
        if (name.empty() || (open.empty() && rootSeen)) return false;
        Attributes attributes;
        for (size_t a = nameEnd; a < body.size();) {
            a = body.find_first_not_of(" \t\r\n", a);
            if (a == std::string::npos) break;
            const size_t eq = body.find('=', a);
            if (eq == std::string::npos || eq + 1 >= body.size()) return false;
            const char quote = body[eq + 1];
            const size_t close = body.find(quote, eq + 2);
            if ((quote != '"' && quote != '\'') || close == std::string::npos) return false;
            attributes[body.substr(a, eq - a)] = body.substr(eq + 2, close - eq - 2);
            a = close + 1;
        }
        rootSeen = true;
        if (!element(name, attributes, open.size())) return false;
        if (!empty) open.push_back(name);
    }
    return rootSeen && open.empty();
}

} // namespace

int32_t SampleCountCode(int32_t samples) {
    for (int32_t code = 1; code <= 8; ++code)
        if (samples == (32 << (code - 1))) return code;
    return 0;
}

std::vector<uint8_t> BuildWtscriptImage(const WavetableScript& script) {
    const std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<wtscript>\n"
                            "  <script lua=\"" +
                            EncodeBase64(script.lua) + "\" frames=\"" +
                            std::to_string(script.frames) + "\" samples=\"" +
                            std::to_string(SampleCountCode(script.samples)) + "\"/>\n</wtscript>\n";
    return std::vector<uint8_t>(xml.begin(), xml.end());
}

bool ParseWtscript(const uint8_t* data, size_t size, WavetableScript& script, std::string& wrong) {
    const std::string xml(reinterpret_cast<const char*>(data), size);
    bool rootRight = true;
    const Attributes* found = nullptr;
    Attributes taken;
    const bool wellFormed =
        WalkXml(xml, [&](const std::string& name, const Attributes& attributes, size_t depth) {
            if (depth == 0) rootRight = name == "wtscript";
            if (depth == 1 && name == "script" && found == nullptr) {
                taken = attributes;
                found = &taken;
            }
            return rootRight;
        });
    if (!wellFormed || !rootRight || found == nullptr) {
        wrong = "not a wavetable script file";
        return false;
    }
    WavetableScript read;
    const std::optional<int> frames = ParseWhole(taken["frames"], 1, ScriptMaxFrames);
    const std::optional<int> code = ParseWhole(taken["samples"], 1, 8);
    if (!DecodeBase64(taken["lua"], read.lua))
        wrong = "bad base64 in the script";
    else if (!frames)
        wrong = "the frame count is not 1 to " + std::to_string(ScriptMaxFrames);
    else if (!code)
        wrong = "the sample count code is not 1 to 8";
    else {
        read.frames = *frames;
        read.samples = 32 << (*code - 1);
        script = read;
        return true;
    }
    return false;
}

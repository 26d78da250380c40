// Little-endian fields of the file formats, independent of the host's order.
#pragma once

#include <cstdint>
#include <vector>

inline void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, static_cast<uint16_t>(v));
    PutU16(out, static_cast<uint16_t>(v >> 16));
}

// A four-character chunk or form tag such as "RIFF".
inline void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

inline uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(GetU16(p)) | static_cast<uint32_t>(GetU16(p + 2)) << 16;
}

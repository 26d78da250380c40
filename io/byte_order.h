// Little-endian fields of the file formats, independent of the host's order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
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

// Floats as their bits in little-endian 32-bit fields, byte by byte: no value
// passes through float arithmetic, so NaN payloads, infinities, -0 and
// subnormals arrive as they are.
inline void PutFloatBits(std::vector<uint8_t>& out, const float* samples, size_t count) {
    const size_t at = out.size();
    out.resize(at + 4 * count);
    uint8_t* p = out.data() + at;
    for (size_t i = 0; i < count; ++i) {
        uint32_t bits;
        std::memcpy(&bits, samples + i, 4);
        for (int b = 0; b < 4; ++b) *p++ = static_cast<uint8_t>(bits >> 8 * b);
    }
}

inline void GetFloatBits(const uint8_t* in, float* samples, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const uint32_t bits = GetU32(in + 4 * i);
        std::memcpy(samples + i, &bits, 4);
    }
}

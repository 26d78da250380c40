#include "io/file_decoding.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "core/editor_state.h"
#include "io/byte_order.h"

namespace {

enum class Encoding { Unsigned8, Signed16, Signed24, Signed32, Float32, Float64 };

// Where the samples lie: the first channel of the frame at begin + i x stride.
struct SampleLayout {
    uint64_t begin = 44;
    uint64_t end = 0;
    uint64_t stride = 2;
    uint64_t width = 2;
    Encoding encoding = Encoding::Signed16;
};

bool HasTag(const uint8_t* data, size_t size, size_t at, const char* tag) {
    return at + 4 <= size && std::memcmp(data + at, tag, 4) == 0;
}

// The sample encoding a "fmt " chunk names; 16-bit PCM for anything unknown,
// which reads such files as the canonical layout would.
void ReadFormat(const uint8_t* fmt, uint64_t length, SampleLayout& layout) {
    uint16_t code = GetU16(fmt);
    const uint16_t channels = GetU16(fmt + 2);
    const uint16_t bits = GetU16(fmt + 14);
    if (code == 0xFFFE && length >= 26) code = GetU16(fmt + 24);  // extensible: the subformat
    struct Known {
        uint16_t code, bits;
        Encoding encoding;
    };
    static const Known known[] = {
        {1, 8, Encoding::Unsigned8},  {1, 16, Encoding::Signed16}, {1, 24, Encoding::Signed24},
        {1, 32, Encoding::Signed32},  {3, 32, Encoding::Float32},  {3, 64, Encoding::Float64},
    };
    for (const Known& k : known) {
        if (k.code == code && k.bits == bits) {
            layout.encoding = k.encoding;
            layout.width = bits / 8;
            layout.stride = layout.width * (channels == 0 ? 1 : channels);
            return;
        }
    }
}

// Walks the chunks after the form type; chunks are padded to even sizes.
SampleLayout FindSamples(const uint8_t* data, size_t size) {
    SampleLayout layout;
    layout.end = size;
    bool haveFormat = false;
    bool haveData = false;
    for (uint64_t at = 12; at + 8 <= size;) {
        const uint64_t length = GetU32(data + at + 4);
        const uint64_t body = at + 8;
        const uint64_t bodyEnd = std::min<uint64_t>(body + length, size);
        if (!haveFormat && HasTag(data, size, at, "fmt ") && bodyEnd - body >= 16) {
            haveFormat = true;
            ReadFormat(data + body, bodyEnd - body, layout);
        } else if (!haveData && HasTag(data, size, at, "data")) {
            haveData = true;
            layout.begin = body;
            layout.end = bodyEnd;
        }
        at = body + length + (length & 1);
    }
    if (!haveData) {
        layout.begin = 44;
        layout.end = size;
    }
    return layout;
}

// Wider samples keep their extra precision: a 24-bit value 256 x v gives
// exactly what the 16-bit value v gives, since the powers of two scale exactly.
float DecodeSample(const uint8_t* p, Encoding encoding) {
    float value = 0.0f;
    switch (encoding) {
    case Encoding::Unsigned8:
        value = static_cast<float>((p[0] - 128) * 256) * 0.00002f;
        break;
    case Encoding::Signed16:
        value = static_cast<float>(static_cast<int16_t>(GetU16(p))) * 0.00002f;
        break;
    case Encoding::Signed24: {
        const uint32_t raised = static_cast<uint32_t>(p[0]) << 8 | static_cast<uint32_t>(p[1]) << 16 |
                                static_cast<uint32_t>(p[2]) << 24;
        const int32_t v = static_cast<int32_t>(raised) / 256;
        value = static_cast<float>(v) * 0.00002f * (1.0f / 256.0f);
        break;
    }
    case Encoding::Signed32:
        value = static_cast<float>(static_cast<int32_t>(GetU32(p))) * 0.00002f * (1.0f / 65536.0f);
        break;
    case Encoding::Float32: {
        float f;
        const uint32_t bits = GetU32(p);
        std::memcpy(&f, &bits, 4);
        value = f * 32768.0f * 0.00002f;
        break;
    }
    case Encoding::Float64: {
        double d;
        const uint64_t bits = GetU32(p) | static_cast<uint64_t>(GetU32(p + 4)) << 32;
        std::memcpy(&d, &bits, 8);
        if (!(d >= -FLT_MAX && d <= FLT_MAX)) return 0.0f;
        value = static_cast<float>(d) * 32768.0f * 0.00002f;
        break;
    }
    }
    // Infinities and NaN of float files have no sample value to stand for.
    return std::isfinite(value) ? value : 0.0f;
}

}  // namespace

bool DecodeWavSamples(const uint8_t* data, size_t size, float* out, int32_t count) {
    if (!HasTag(data, size, 0, "RIFF") && !HasTag(data, size, 8, "WAVE")) return false;
    const SampleLayout layout = FindSamples(data, size);
    for (int32_t i = 0; i < count; ++i) {
        const uint64_t at = layout.begin + static_cast<uint64_t>(i) * layout.stride;
        out[i] = at + layout.width <= layout.end ? DecodeSample(data + at, layout.encoding) : 0.0f;
    }
    return true;
}

void DecodeHarmonics(const uint8_t* data, size_t size, int32_t* levels) {
    for (size_t i = 0; i < HarmonicCount && 4 * i + 4 <= size; ++i)
        levels[i] = static_cast<int32_t>(GetU32(data + 4 * i));
}

#include "io/file_decoding.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "core/editor_state.h"
#include "io/byte_order.h"

namespace {

constexpr uint16_t IntegerPcm = 1;
constexpr uint16_t IeeeFloat = 3;
constexpr uint16_t Extensible = 0xFFFE;

bool HasTag(const uint8_t* data, size_t size, size_t at, const char* tag) {
    return at + 4 <= size && std::memcmp(data + at, tag, 4) == 0;
}

// The encoding a "fmt " chunk body names. Integer PCM of 8, 16, 24 or 32 bits
// and IEEE float of 32 or 64 bits are read; an extensible header names its
// format in the first two bytes of its subformat.
WavStatus ReadFormat(const uint8_t* fmt, uint64_t length, WavContent& content) {
    if (length < 16) return WavStatus::NoSamples;
    uint16_t code = GetU16(fmt);
    const uint16_t channels = GetU16(fmt + 2);
    const uint16_t bits = GetU16(fmt + 14);
    if (channels == 0 || bits == 0) return WavStatus::NoSamples;
    if (code == Extensible && length >= 26) code = GetU16(fmt + 24);
    struct Known {
        uint16_t code, bits;
        SampleEncoding encoding;
    };
    static const Known known[] = {
        {IntegerPcm, 8, SampleEncoding::Unsigned8}, {IntegerPcm, 16, SampleEncoding::Signed16},
        {IntegerPcm, 24, SampleEncoding::Signed24}, {IntegerPcm, 32, SampleEncoding::Signed32},
        {IeeeFloat, 32, SampleEncoding::Float32},   {IeeeFloat, 64, SampleEncoding::Float64},
    };
    for (const Known& k : known) {
        if (k.code == code && k.bits == bits) {
            content.encoding = k.encoding;
            content.stride = uint64_t{bits} / 8 * channels;
            return WavStatus::Ok;
        }
    }
    return WavStatus::UnsupportedEncoding;
}

// A "clm " text "<!>2048 ..." declares frames of 2048 samples. Sizes of 0 or
// beyond MaxDeclaredFrameSize declare nothing.
int32_t ClmFrameSize(const uint8_t* text, uint64_t length) {
    if (length < 4 || std::memcmp(text, "<!>", 3) != 0) return 0;
    uint64_t value = 0;
    for (uint64_t i = 3; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > MaxDeclaredFrameSize) return 0;
    }
    return static_cast<int32_t>(value);
}

// A "srge" chunk: a 32-bit version, then the frame size.
int32_t SrgeFrameSize(const uint8_t* body, uint64_t length) {
    if (length < 8) return 0;
    const uint32_t value = GetU32(body + 4);
    return value <= MaxDeclaredFrameSize ? static_cast<int32_t>(value) : 0;
}

size_t SampleWidth(SampleEncoding encoding) {
    switch (encoding) {
    case SampleEncoding::Unsigned8:
        return 1;
    case SampleEncoding::Signed16:
        return 2;
    case SampleEncoding::Signed24:
        return 3;
    case SampleEncoding::Signed32:
    case SampleEncoding::Float32:
        return 4;
    case SampleEncoding::Float64:
        return 8;
    }
    return 2;
}

// A signed 24-bit little-endian value.
int32_t Get24(const uint8_t* p) {
    const uint32_t raised = static_cast<uint32_t>(p[0]) << 8 | static_cast<uint32_t>(p[1]) << 16 |
                            static_cast<uint32_t>(p[2]) << 24;
    return static_cast<int32_t>(raised) / 256;
}

double GetDouble(const uint8_t* p) {
    double d;
    const uint64_t bits = GetU32(p) | static_cast<uint64_t>(GetU32(p + 4)) << 32;
    std::memcpy(&d, &bits, 8);
    return d;
}

} // namespace

// Chunks are walked after the form type and padded to even sizes; the first
// of each kind counts. A "clm " frame size ranks above a "srge" one.
WavStatus ParseWav(const uint8_t* data, size_t size, WavContent& content) {
    if (!HasTag(data, size, 0, "RIFF") && !HasTag(data, size, 8, "WAVE")) return WavStatus::NotWav;
    content = WavContent();
    uint64_t end = size;
    bool haveFormat = false;
    bool haveData = false;
    bool haveClm = false;
    int32_t clmSize = 0;
    int32_t srgeSize = -1;
    for (uint64_t at = 12; at + 8 <= size;) {
        const uint64_t length = GetU32(data + at + 4);
        const uint64_t body = at + 8;
        const uint64_t bodyEnd = std::min<uint64_t>(body + length, size);
        if (!haveFormat && HasTag(data, size, at, "fmt ")) {
            haveFormat = true;
            const WavStatus status = ReadFormat(data + body, bodyEnd - body, content);
            if (status != WavStatus::Ok) return status;
        } else if (!haveData && HasTag(data, size, at, "data")) {
            haveData = true;
            content.begin = body;
            content.complete = body + length <= size;
            end = bodyEnd;
        } else if (!haveClm && HasTag(data, size, at, "clm ")) {
            haveClm = true;
            clmSize = ClmFrameSize(data + body, bodyEnd - body);
        } else if (HasTag(data, size, at, "uhWT")) {
            content.uhwt = true;
        } else if (srgeSize < 0 && HasTag(data, size, at, "srge")) {
            srgeSize = SrgeFrameSize(data + body, bodyEnd - body);
        }
        at = body + length + (length & 1);
    }
    content.frameSize = clmSize > 0 ? clmSize : std::max(srgeSize, 0);
    const uint64_t width = SampleWidth(content.encoding);
    const uint64_t begin = std::min<uint64_t>(content.begin, end);
    content.count = end - begin >= width ? (end - begin - width) / content.stride + 1 : 0;
    return content.count > 0 ? WavStatus::Ok : WavStatus::NoSamples;
}

const char* WavFailure(WavStatus status) {
    switch (status) {
    case WavStatus::NotWav:
        return "not a WAV file";
    case WavStatus::UnsupportedEncoding:
        return "unsupported WAV encoding";
    default:
        return "no samples in file";
    }
}

// Wider samples keep their extra precision: a 24-bit value 256 x v gives
// exactly what the 16-bit value v gives, since the powers of two scale exactly.
float WavSample(const uint8_t* data, const WavContent& content, uint64_t index) {
    const uint8_t* p = data + content.begin + index * content.stride;
    float value = 0.0f;
    switch (content.encoding) {
    case SampleEncoding::Unsigned8:
        value = static_cast<float>((p[0] - 128) * 256) * 0.00002f;
        break;
    case SampleEncoding::Signed16:
        value = static_cast<float>(static_cast<int16_t>(GetU16(p))) * 0.00002f;
        break;
    case SampleEncoding::Signed24:
        value = static_cast<float>(Get24(p)) * 0.00002f * (1.0f / 256.0f);
        break;
    case SampleEncoding::Signed32:
        value = static_cast<float>(static_cast<int32_t>(GetU32(p))) * 0.00002f * (1.0f / 65536.0f);
        break;
    case SampleEncoding::Float32: {
        float f;
        const uint32_t bits = GetU32(p);
        std::memcpy(&f, &bits, 4);
        value = f * 32768.0f * 0.00002f;
        break;
    }
    case SampleEncoding::Float64: {
        const double d = GetDouble(p);
        if (!(d >= -FLT_MAX && d <= FLT_MAX)) return 0.0f;
        value = static_cast<float>(d) * 32768.0f * 0.00002f;
        break;
    }
    }
    return std::isfinite(value) ? value : 0.0f;
}

float FullScaleSample(const uint8_t* data, const WavContent& content, uint64_t index) {
    const uint8_t* p = data + content.begin + index * content.stride;
    float value = 0.0f;
    switch (content.encoding) {
    case SampleEncoding::Unsigned8:
        value = static_cast<float>(p[0] - 128) / 127.0f;
        break;
    case SampleEncoding::Signed16:
        value = static_cast<float>(static_cast<int16_t>(GetU16(p))) / 32767.0f;
        break;
    case SampleEncoding::Signed24:
        value = static_cast<float>(Get24(p)) / 8388607.0f;
        break;
    case SampleEncoding::Signed32:
        value =
            static_cast<float>(static_cast<double>(static_cast<int32_t>(GetU32(p))) / 2147483647.0);
        break;
    case SampleEncoding::Float32:
        GetFloatBits(p, &value, 1);
        break;
    case SampleEncoding::Float64: {
        const double d = GetDouble(p);
        value = d >= -FLT_MAX && d <= FLT_MAX ? static_cast<float>(d) : 0.0f;
        break;
    }
    }
    return std::isfinite(value) ? value : 0.0f;
}

void DecodeHarmonics(const uint8_t* data, size_t size, int32_t* levels) {
    for (size_t i = 0; i < HarmonicCount && 4 * i + 4 <= size; ++i)
        levels[i] = static_cast<int32_t>(GetU32(data + 4 * i));
}

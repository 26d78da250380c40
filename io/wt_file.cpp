#include "io/wt_file.h"

#include <cmath>

#include "io/byte_order.h"
#include "io/wav_format.h"

namespace {

constexpr uint16_t Int16Samples = 0x0004;
constexpr uint16_t FullRange16 = 0x0008;

} // namespace

std::vector<uint8_t> BuildWtImage(const float* samples, int32_t frames, int32_t frameSize,
                                  bool int16) {
    const size_t count = static_cast<size_t>(frames) * static_cast<size_t>(frameSize);
    std::vector<uint8_t> image;
    image.reserve(WtHeaderBytes + count * (int16 ? 2 : 4));
    PutTag(image, "vawt");
    PutU32(image, static_cast<uint32_t>(frameSize));
    PutU16(image, static_cast<uint16_t>(frames));
    PutU16(image, int16 ? Int16Samples | FullRange16 : 0);
    if (!int16) {
        PutFloatBits(image, samples, count);
        return image;
    }
    for (size_t i = 0; i < count; ++i)
        PutU16(image, static_cast<uint16_t>(FullScaleInteger(samples[i], 32767)));
    return image;
}

bool ParseWt(const uint8_t* data, size_t size, ForeignTable& table, std::string& problem) {
    if (size < WtHeaderBytes) {
        problem = "the .wt header is cut short";
        return false;
    }
    const uint32_t frameSize = GetU32(data + 4);
    const uint32_t frames = GetU16(data + 8);
    const uint16_t flags = GetU16(data + 10);
    if (frameSize < 2 || frameSize > 4096 || (frameSize & (frameSize - 1)) != 0) {
        problem =
            "frame size " + std::to_string(frameSize) + " is not a power of two from 2 to 4096";
        return false;
    }
    if (frames < 1 || frames > 512) {
        problem = "frame count " + std::to_string(frames) + " is not from 1 to 512";
        return false;
    }
    const bool int16 = (flags & Int16Samples) != 0;
    const size_t count = size_t{frames} * frameSize;
    const size_t need = WtHeaderBytes + count * (int16 ? 2 : 4);
    if (size < need) {
        problem = "the samples are cut short: " + std::to_string(size) + " bytes of " +
                  std::to_string(need);
        return false;
    }
    table.samples.resize(count);
    const uint8_t* in = data + WtHeaderBytes;
    if (int16) {
        const float full = flags & FullRange16 ? 32767.0f : 16384.0f;
        for (size_t i = 0; i < count; ++i)
            table.samples[i] = static_cast<float>(static_cast<int16_t>(GetU16(in + 2 * i))) / full;
    } else {
        GetFloatBits(in, table.samples.data(), count);
        for (float& s : table.samples)
            if (!std::isfinite(s)) s = 0.0f;
    }
    table.frameSize = static_cast<int32_t>(frameSize);
    table.layout = std::string("Surge XT .wt, ") + (int16 ? "16-bit" : "32-bit float");
    return true;
}

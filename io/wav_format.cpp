#include "io/wav_format.h"

#include <cmath>
#include <cstring>
#include <string>

#include "core/editor_state.h"
#include "io/byte_order.h"

namespace {

constexpr uint32_t SampleRate = 44100;
constexpr float ExportLevel = 1.52f; // 65536 x 0.76 / 32768

// Scales one sample to its 16-bit value, truncating toward zero and saturating
// at the ends of the 16-bit range instead of wrapping.
int16_t EncodeSample(float sample, WavPurpose purpose) {
    float scaled = sample * 65536.0f;
    if (purpose != WavPurpose::Preview) scaled = scaled * 0.76f;
    if (scaled != scaled) return 0; // NaN has no nearer end
    if (scaled >= 32767.0f) return 32767;
    if (scaled <= -32768.0f) return -32768;
    return static_cast<int16_t>(static_cast<int32_t>(scaled));
}

// RIFF, WAVE and a "fmt " chunk of `formatBytes` up to the bits per sample;
// the rest of the chunk, if any, is the caller's.
void PutFormat(std::vector<uint8_t>& image, uint32_t riffSize, uint32_t formatBytes,
               uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits) {
    PutTag(image, "RIFF");
    PutU32(image, riffSize);
    PutTag(image, "WAVE");
    PutTag(image, "fmt ");
    PutU32(image, formatBytes);
    PutU16(image, format);
    PutU16(image, channels);
    PutU32(image, rate);
    PutU32(image, rate * channels * (bits / 8));
    PutU16(image, static_cast<uint16_t>(channels * bits / 8));
    PutU16(image, bits);
}

void PutFloat(std::vector<uint8_t>& image, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    PutU32(image, bits);
}

std::string ClmText(int32_t frameSize) {
    return "<!>" + std::to_string(frameSize) + " 10000000 wavetable (QARNO)";
}

// The "clm " text and one NUL, padded to an even size that the chunk size includes.
uint32_t ClmBytes(int32_t frameSize) {
    return (static_cast<uint32_t>(ClmText(frameSize).size()) + 2) & ~1u;
}

} // namespace

uint32_t FrameTagBytes(FrameTag tag, int32_t frameSize) {
    if (tag == FrameTag::None) return 0;
    return 8 + (tag == FrameTag::Clm ? ClmBytes(frameSize) : 8);
}

void PutFrameTag(std::vector<uint8_t>& image, FrameTag tag, int32_t frameSize) {
    if (tag == FrameTag::Srge) {
        PutTag(image, "srge");
        PutU32(image, 8);
        PutU32(image, 1); // version
        PutU32(image, static_cast<uint32_t>(frameSize));
    } else if (tag == FrameTag::Clm) {
        const std::string text = ClmText(frameSize);
        const uint32_t bytes = ClmBytes(frameSize);
        PutTag(image, "clm ");
        PutU32(image, bytes);
        image.insert(image.end(), text.begin(), text.end());
        image.resize(image.size() + bytes - text.size(), 0);
    }
}

int32_t FullScaleInteger(float value, int32_t full) {
    const float scaled = value * static_cast<float>(full);
    if (!(scaled == scaled)) return 0;
    if (scaled >= static_cast<float>(full)) return full;
    if (scaled <= -static_cast<float>(full) - 1.0f) return -full - 1;
    return static_cast<int32_t>(std::lround(scaled));
}

std::vector<uint8_t> BuildTableWavImage(const float* samples, int32_t count, int32_t bits,
                                        FrameTag tag, int32_t frameSize) {
    const uint32_t width = static_cast<uint32_t>(bits) / 8;
    const uint32_t dataBytes = static_cast<uint32_t>(count) * width;
    const uint32_t chunkBytes = FrameTagBytes(tag, frameSize) + 8 + dataBytes + (dataBytes & 1);
    std::vector<uint8_t> image;
    image.reserve(FloatHeaderBytes + chunkBytes);
    if (bits == 32)
        PutFloatHeader(image, 1, SampleRate, static_cast<uint32_t>(count), chunkBytes);
    else
        PutFormat(image, 4 + 24 + chunkBytes, 16, 1, 1, SampleRate, static_cast<uint16_t>(bits));
    PutFrameTag(image, tag, frameSize);
    PutTag(image, "data");
    PutU32(image, dataBytes);
    if (bits == 32) {
        PutFloatBits(image, samples, static_cast<size_t>(count));
        return image;
    }
    const int32_t full = bits == 16 ? 32767 : 8388607;
    for (int32_t i = 0; i < count; ++i) {
        const auto v = static_cast<uint32_t>(FullScaleInteger(samples[i], full));
        for (uint32_t b = 0; b < width; ++b) image.push_back(static_cast<uint8_t>(v >> 8 * b));
    }
    if (dataBytes & 1) image.push_back(0);
    return image;
}

void PutFloatHeader(std::vector<uint8_t>& image, uint16_t channels, uint32_t rate,
                    uint32_t samplesPerChannel, uint32_t chunkBytes) {
    // The size the RIFF chunk declares counts from "WAVE" on.
    PutFormat(image, FloatHeaderBytes - 8 + chunkBytes, 18, 3, channels, rate, 32);
    PutU16(image, 0); // extension size
    PutTag(image, "fact");
    PutU32(image, 4);
    PutU32(image, samplesPerChannel);
}

std::vector<uint8_t> BuildWavImage(const float* samples, int32_t count, int32_t sampleRate,
                                   WavPurpose purpose, int32_t loopStart, int32_t loopEnd) {
    const uint32_t dataBytes = static_cast<uint32_t>(count) * 2;
    const bool tagged = purpose == WavPurpose::SavedFrames;
    std::vector<uint8_t> image;
    image.reserve(dataBytes + 128);
    PutFormat(image, dataBytes + (tagged ? 120 : 104), 16, 1, 1, static_cast<uint32_t>(sampleRate),
              16);
    PutTag(image, "data");
    PutU32(image, dataBytes);
    for (int32_t i = 0; i < count; ++i)
        PutU16(image, static_cast<uint16_t>(EncodeSample(samples[i], purpose)));
    PutTag(image, "smpl");
    PutU32(image, 60);
    PutU32(image, 0);     // manufacturer
    PutU32(image, 0);     // product
    PutU32(image, 22675); // sample period in nanoseconds
    PutU32(image, 60);    // MIDI unity note
    PutU32(image, 0);     // pitch fraction
    PutU32(image, 0);     // SMPTE format
    PutU32(image, 0);     // SMPTE offset
    PutU32(image, 1);     // one loop
    PutU32(image, 0);     // sampler data size
    PutU32(image, 0);     // cue point id
    PutU32(image, 0);     // forward loop
    PutU32(image, static_cast<uint32_t>(loopStart));
    PutU32(image, static_cast<uint32_t>(loopEnd));
    PutU32(image, 0); // fraction
    PutU32(image, 0); // endless
    if (tagged) {
        // Wavetable synthesizers take the frame size from here rather than from
        // the loop, which marks only the chosen frames.
        PutTag(image, "srge");
        PutU32(image, 8);
        PutU32(image, 1); // version
        PutU32(image, SamplesPerFrame);
    }
    return image;
}

std::vector<uint8_t> BuildExportImage(const float* samples, int32_t count) {
    const uint32_t tagBytes = FrameTagBytes(FrameTag::Clm, ExportFrameSize);
    const uint32_t dataBytes = static_cast<uint32_t>(count) * 4;
    std::vector<uint8_t> image;
    image.reserve(FloatHeaderBytes + tagBytes + 8 + dataBytes);
    PutFloatHeader(image, 1, SampleRate, static_cast<uint32_t>(count), tagBytes + 8 + dataBytes);
    PutFrameTag(image, FrameTag::Clm, ExportFrameSize);
    PutTag(image, "data");
    PutU32(image, dataBytes);
    for (int32_t i = 0; i < count; ++i) PutFloat(image, samples[i] * ExportLevel);
    return image;
}

std::vector<uint8_t> BuildStereoFloatImage(const float* interleaved, int64_t frames,
                                           int32_t sampleRate) {
    const auto dataBytes = static_cast<uint32_t>(frames * 8);
    std::vector<uint8_t> image;
    image.reserve(FloatHeaderBytes + 8 + dataBytes);
    PutFloatHeader(image, 2, static_cast<uint32_t>(sampleRate), static_cast<uint32_t>(frames),
                   8 + dataBytes);
    PutTag(image, "data");
    PutU32(image, dataBytes);
    for (int64_t i = 0; i < 2 * frames; ++i) PutFloat(image, interleaved[i]);
    return image;
}

std::vector<uint8_t> BuildFloatTableImage(const float* table) {
    return BuildTableWavImage(table, TableSamples, 32, FrameTag::Srge, SamplesPerFrame);
}

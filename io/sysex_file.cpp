#include "io/sysex_file.h"

#include "io/wav_format.h"

namespace {

constexpr uint8_t Header[] = {0xF0, 0x3E, 0x13, 0x00, 0x12};
constexpr size_t SamplesAt = 8;
constexpr size_t NameAt = SamplesAt + 3 * BlofeldWaveSize; // 392
constexpr size_t ChecksumAt = BlofeldMessageBytes - 2;     // 408
constexpr int32_t FullScale = 1048575;                     // 2^20 - 1

uint8_t Checksum(const uint8_t* message) {
    uint32_t sum = 0;
    for (size_t i = 7; i < ChecksumAt; ++i) sum += message[i];
    return static_cast<uint8_t>(sum & 0x7F);
}

// What is wrong with message `wave` of a dump, or nullptr. The device number
// (byte 3) may be any.
const char* MessageProblem(const uint8_t* m, int32_t wave) {
    for (size_t i = 0; i < sizeof Header; ++i)
        if (i != 3 && m[i] != Header[i]) return "is not a Blofeld wavetable dump";
    if (m[5] < BlofeldFirstSlot || m[5] > BlofeldLastSlot || m[6] != wave ||
        m[BlofeldMessageBytes - 1] != 0xF7)
        return "is not a Blofeld wavetable dump";
    for (size_t i = 3; i < ChecksumAt + 1; ++i)
        if (m[i] > 0x7F) return "is not a Blofeld wavetable dump";
    if (Checksum(m) != m[ChecksumAt]) return "has a wrong checksum";
    return nullptr;
}

} // namespace

std::vector<uint8_t> BuildBlofeldDump(const float* samples, int32_t slot, const std::string& name) {
    std::vector<uint8_t> dump;
    dump.reserve(BlofeldWaves * BlofeldMessageBytes);
    for (int32_t wave = 0; wave < BlofeldWaves; ++wave) {
        const size_t start = dump.size();
        dump.insert(dump.end(), Header, Header + sizeof Header);
        dump.push_back(static_cast<uint8_t>(0x50 + slot - BlofeldFirstSlot));
        dump.push_back(static_cast<uint8_t>(wave));
        dump.push_back(0);
        for (int32_t i = 0; i < BlofeldWaveSize; ++i) {
            const auto v = static_cast<uint32_t>(
                FullScaleInteger(samples[wave * BlofeldWaveSize + i], FullScale));
            for (int shift : {14, 7, 0}) dump.push_back(static_cast<uint8_t>(v >> shift & 0x7F));
        }
        for (size_t i = 0; i < BlofeldNameLength; ++i) {
            const char c = i < name.size() ? name[i] : ' ';
            dump.push_back(c >= 0x20 && c <= 0x7E ? static_cast<uint8_t>(c) : ' ');
        }
        dump.insert(dump.end(), {0, 0});
        dump.push_back(Checksum(dump.data() + start));
        dump.push_back(0xF7);
    }
    return dump;
}

bool ParseBlofeldDump(const uint8_t* data, size_t size, ForeignTable& table, std::string& problem) {
    if (size != BlofeldWaves * BlofeldMessageBytes) {
        problem =
            "not 64 Blofeld wavetable messages of 410 bytes (" + std::to_string(size) + " bytes)";
        return false;
    }
    for (int32_t wave = 0; wave < BlofeldWaves; ++wave) {
        if (const char* wrong = MessageProblem(data + wave * BlofeldMessageBytes, wave)) {
            problem = "message " + std::to_string(wave + 1) + " " + wrong;
            return false;
        }
    }
    table.samples.resize(BlofeldWaves * BlofeldWaveSize);
    for (int32_t wave = 0; wave < BlofeldWaves; ++wave) {
        const uint8_t* in = data + wave * BlofeldMessageBytes + SamplesAt;
        for (int32_t i = 0; i < BlofeldWaveSize; ++i, in += 3) {
            int32_t v = in[0] << 14 | in[1] << 7 | in[2];
            if (v & 0x100000) v -= 0x200000;
            table.samples[wave * BlofeldWaveSize + i] = static_cast<float>(v) / FullScale;
        }
    }
    table.frameSize = BlofeldWaveSize;
    table.layout = "Waldorf Blofeld dump \"" +
                   std::string(data + NameAt, data + NameAt + BlofeldNameLength) + "\", slot " +
                   std::to_string(data[5]);
    return true;
}

// Scratch folders, whole files, WAV files built byte by byte and their readers.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include <sndfile.h>

#include "core/command_ids.h"
#include "io/byte_order.h"
#include "tests/test_support.h"

// A fresh folder under the system's temporary folder, removed with its content.
struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder() {
        std::string name = (std::filesystem::temp_directory_path() / "qarno-io-XXXXXX").string();
        path = mkdtemp(name.data());
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    std::string File(const std::string& name) const { return (path / name).string(); }
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

inline uint32_t U32At(const std::vector<uint8_t>& b, size_t at) { return GetU32(b.data() + at); }
inline int16_t S16At(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int16_t>(GetU16(b.data() + at));
}

// Runs the menu command with `path` as the answer of its file dialog.
inline void CommandOn(CommandId command, const std::string& path) {
    HeadlessDialogAnswers.push_back(path);
    Command(command);
}

// The message boxes' texts, a caption other than "Error" in brackets before its text.
inline std::vector<std::string> ErrorTexts() {
    std::vector<std::string> texts;
    for (const RecordedMessageBox& box : HeadlessMessageBoxes)
        texts.push_back(box.caption == "Error" ? box.text : "[" + box.caption + "] " + box.text);
    return texts;
}

// A chunk: tag, size, body and the pad byte of an odd size.
inline std::vector<uint8_t> Chunk(const char* tag, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> chunk;
    PutTag(chunk, tag);
    PutU32(chunk, static_cast<uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (body.size() % 2) chunk.push_back(0);
    return chunk;
}

// A "fmt " body: format code, channels, bits per sample.
inline std::vector<uint8_t> Fmt(uint16_t code, uint16_t channels, uint16_t bits) {
    std::vector<uint8_t> fmt;
    PutU16(fmt, code);
    PutU16(fmt, channels);
    PutU32(fmt, 44100);
    PutU32(fmt, 44100u * channels * bits / 8);
    PutU16(fmt, static_cast<uint16_t>(channels * bits / 8));
    PutU16(fmt, bits);
    return fmt;
}

// An extensible "fmt " body whose subformat names the format code.
inline std::vector<uint8_t> ExtensibleFmt(uint16_t code, uint16_t bits) {
    std::vector<uint8_t> fmt = Fmt(0xFFFE, 1, bits);
    PutU16(fmt, 22);   // extension size
    PutU16(fmt, bits); // valid bits
    PutU32(fmt, 4);    // channel mask
    PutU16(fmt, code);
    fmt.insert(fmt.end(), {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71});
    return fmt;
}

// "fmt ", the `tags` chunks, then "data" holding `data` but saying `declared` bytes if given.
inline std::vector<uint8_t> WavFile(const std::vector<uint8_t>& fmt,
                                    const std::vector<uint8_t>& tags,
                                    const std::vector<uint8_t>& data, size_t declared = 0) {
    std::vector<uint8_t> file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    const std::vector<uint8_t> format = Chunk("fmt ", fmt);
    file.insert(file.end(), format.begin(), format.end());
    file.insert(file.end(), tags.begin(), tags.end());
    PutTag(file, "data");
    PutU32(file, static_cast<uint32_t>(declared ? declared : data.size()));
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

inline std::string Sox() { return QARNO_SOX; }
#define SKIP_WITHOUT_SOX()                                                                         \
    if (Sox().empty()) GTEST_SKIP() << "sox was not found when the tests were configured"

inline std::vector<uint8_t> FloatData(const std::vector<float>& samples) { // little-endian hosts
    std::vector<uint8_t> data(4 * samples.size());
    std::memcpy(data.data(), samples.data(), data.size());
    return data;
}

// The chunks after "WAVE", the first of each kind, by tag, up to one that overruns the file.
inline std::map<std::string, std::vector<uint8_t>> Chunks(const std::vector<uint8_t>& file) {
    std::map<std::string, std::vector<uint8_t>> chunks;
    for (size_t at = 12; at + 8 <= file.size();) {
        const size_t length = U32At(file, at + 4);
        if (length > file.size() - at - 8) break;
        const std::string tag(file.begin() + at, file.begin() + at + 4);
        chunks.emplace(tag,
                       std::vector<uint8_t>(file.begin() + at + 8, file.begin() + at + 8 + length));
        at += 8 + length + length % 2;
    }
    return chunks;
}

// Surge XT's frame size: "clm " saying 2048, else "cue " (never written: -1), else an 8-byte
// "srge", else the "smpl" loop's length; 0 for a size it refuses (no power of two up to 4096).
inline int SurgeFrameSize(const std::vector<uint8_t>& file) {
    auto chunks = Chunks(file);
    const std::string clm(chunks["clm "].begin(), chunks["clm "].end());
    int size = 0;
    if (clm.rfind("<!>2048", 0) == 0)
        size = 2048;
    else if (chunks.count("cue "))
        return -1;
    else if (chunks["srge"].size() == 8)
        size = static_cast<int>(U32At(chunks["srge"], 4));
    else if (chunks.count("smpl"))
        size = static_cast<int>(U32At(chunks["smpl"], 48) - U32At(chunks["smpl"], 44) + 1);
    const bool powerOfTwo = size > 0 && (size & (size - 1)) == 0;
    return powerOfTwo && size <= 4096 ? size : 0;
}

// What libsndfile, a reader nobody here wrote, makes of a file.
struct SndfileView {
    SF_INFO format = {};
    SF_INSTRUMENT instrument = {};
    std::vector<float> samples;
    std::string log; // libsndfile's notes on the file, "**" before a warning
};
inline SndfileView ReadWithSndfile(const std::string& path) {
    SndfileView view;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &view.format);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    if (file == nullptr) return view;
    sf_command(file, SFC_GET_INSTRUMENT, &view.instrument, sizeof view.instrument);
    char log[4096] = {};
    sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
    view.log = log;
    view.samples.resize(static_cast<size_t>(view.format.frames * view.format.channels));
    const auto count = static_cast<sf_count_t>(view.samples.size());
    EXPECT_EQ(sf_read_float(file, view.samples.data(), count), count);
    sf_close(file);
    return view;
}

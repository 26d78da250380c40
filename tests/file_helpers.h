// Scratch folders, whole-file reads and file commands for the file tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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
    // Names of everything in the folder, to see that no temporary file stayed.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path)) names.push_back(e.path().filename());
        return names;
    }
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

inline uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return GetU32(b.data() + at);
}
inline int16_t S16At(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int16_t>(GetU16(b.data() + at));
}

// Runs the menu command with `path` as the answer of its file dialog.
inline void CommandOn(uint16_t command, const std::string& path) {
    HeadlessDialogAnswers.push_back(path);
    Command(command);
}

// The texts of the message boxes shown so far; a box not captioned "Error" shows as its caption.
inline std::vector<std::string> ErrorTexts() {
    std::vector<std::string> texts;
    for (const auto& box : HeadlessMessageBoxes)
        texts.push_back(box.caption == "Error" ? box.text : box.caption);
    return texts;
}

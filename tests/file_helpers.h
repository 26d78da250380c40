// Scratch folders and whole-file reads for the file tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "tests/test_support.h"

// A fresh folder under the system's temporary folder, removed with its content.
struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder() {
        std::string name = (std::filesystem::temp_directory_path() / "qarno-io-XXXXXX").string();
        path = mkdtemp(name.data());
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    std::string File(const std::string& name) const { return (path / name).string(); }
    // Names of everything in the folder, to see that no temporary file stayed.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

inline int16_t S16At(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int16_t>(b[at] | b[at + 1] << 8);
}

inline std::string TagAt(const std::vector<uint8_t>& b, size_t at) {
    return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
}

// Runs the menu command with `path` as the answer of its file dialog.
inline void CommandOn(uint16_t command, const std::string& path) {
    HeadlessDialogAnswers.push_back(path);
    Command(command);
}

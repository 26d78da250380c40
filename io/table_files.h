// Wavetables in the layouts other synthesizers read: Surge XT's .wt files,
// WAV files cut into frames, and Waldorf Blofeld SysEx dumps. Reading checks
// every field before anything is taken, so any bytes are safe to hand it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The most frames a table to import may have, and the longest frame.
constexpr int32_t MaxForeignFrames = 512;
constexpr int32_t MaxForeignFrameSize = 65536;

// A table as a file holds it: its samples as fractions of full scale, frame
// after frame, and what the file is, as the import dialog tells it.
struct ForeignTable {
    std::string layout;    // e.g. "Surge XT .wt, 32-bit float"
    int32_t frameSize = 0; // 0 for a WAV file that names none: the user says
    std::vector<float> samples;
};

// Reads a .wt file, a WAV file or a Blofeld dump, told apart by their first
// bytes. False, with what is wrong, for anything else or a broken file.
bool ParseForeignTable(const uint8_t* data, size_t size, ForeignTable& table, std::string& problem);

// Empty when `frameSize` cuts `count` samples into 1 .. MaxForeignFrames whole
// frames of 2 .. MaxForeignFrameSize samples, else what is wrong.
std::string FrameSizeProblem(size_t count, int32_t frameSize);

// What the import dialog offers for a WAV file without a frame size: the
// largest of 2048, 1024, 512, 256 and 128 that cuts the samples into at most
// 256 whole frames; 0 when none does.
int32_t ProposedFrameSize(size_t count);

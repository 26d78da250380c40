// Surge XT's wavetable file: "vawt", the samples a frame (uint32), the frames
// (uint16) and flags (uint16), then the samples, all little-endian. Flag 4
// marks 16-bit samples instead of 32-bit float; with flag 8 they use the whole
// 16-bit range, without it a full-scale wave peaks at 16384.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "io/table_files.h"

constexpr size_t WtHeaderBytes = 12;

// `frames` frames of `frameSize` samples, as float or, when `int16`, as
// 16-bit samples of the whole range (x 32767, rounded and clamped).
std::vector<uint8_t> BuildWtImage(const float* samples, int32_t frames, int32_t frameSize,
                                  bool int16);

// Reads a .wt file of any size Surge XT allows: frames of 2 .. 4096 samples (a
// power of two), 1 .. 512 frames, float or 16-bit; bytes after the samples are
// left alone. False, with what is wrong, for a bad header or short data.
bool ParseWt(const uint8_t* data, size_t size, ForeignTable& table, std::string& problem);

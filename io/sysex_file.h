// The Waldorf Blofeld's wavetable dump: 64 SysEx messages of 410 bytes, one a
// wave of 128 samples: F0 3E 13 00 12, the slot (80 .. 118), the wave number
// (0 .. 63), 00, each sample as 21-bit two's complement in three 7-bit bytes
// (most significant first), the table's name (14 ASCII characters), 00 00,
// the checksum (the sum of bytes 7 .. 407, & 0x7F) and F7.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "io/table_files.h"

constexpr int32_t BlofeldWaves = 64;
constexpr int32_t BlofeldWaveSize = 128;
constexpr size_t BlofeldMessageBytes = 410;
constexpr int32_t BlofeldFirstSlot = 80;
constexpr int32_t BlofeldLastSlot = 118;
constexpr size_t BlofeldNameLength = 14;

// The dump of 64 x 128 samples (x 1048575, rounded and clamped) for `slot`,
// named `name`: characters outside printable ASCII become spaces, and the
// name is cut or padded with spaces to 14.
std::vector<uint8_t> BuildBlofeldDump(const float* samples, int32_t slot, const std::string& name);

// Reads a whole dump; false, with what is wrong, for another length, another
// message or a wrong checksum.
bool ParseBlofeldDump(const uint8_t* data, size_t size, ForeignTable& table, std::string& problem);

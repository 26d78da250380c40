// The layouts Export For writes, one a synthesizer (or a family of them)
// reads: the file kind, the frames, their length, the sample format and the
// frame tag. "Custom" is the last and takes the user's choices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "io/wav_format.h"

enum class TableFile { Wav, Wt, Syx };

struct ExportLayout {
    TableFile file = TableFile::Wav;
    int32_t frames = 100;
    int32_t frameSize = 2048;
    int32_t bits = 32; // 16 or 24 (PCM), 32 (float); 21 for the Blofeld's dump
    FrameTag tag = FrameTag::None;
};

struct ExportTarget {
    const char* label; // as the dialog lists it
    const char* word;  // as the command line names it
    ExportLayout layout;
};

extern const ExportTarget ExportTargets[];
extern const size_t ExportTargetCount;
// The index of "Custom", the last target.
constexpr size_t CustomTarget = 7;

// The file name extension, without the dot: "wav", "wt" or "syx".
const char* ExtensionOf(TableFile file);

// Empty when a custom layout can be written, else what is wrong with it:
// 2 .. 256 frames, a power of two from 32 to 4096 samples, 16, 24 or 32 bits
// (a .wt file takes 16 or 32 and no WAV tag).
std::string CustomLayoutProblem(const ExportLayout& layout);

// The file of `samples` (layout.frames x layout.frameSize, leveled already);
// the Blofeld's dump goes to `slot` under `name`.
std::vector<uint8_t> BuildLayoutImage(const ExportLayout& layout, const float* samples,
                                      int32_t slot, const std::string& name);

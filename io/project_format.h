// The project file: the whole document in one WAV file of 32-bit floats that
// wavetable synthesizers read as 100 frames of 1024 samples, with the rest of
// the document in chunks of our own that other readers skip. In this order:
//   "fmt "  18 bytes: IEEE float (3), mono, 44100 Hz, 176400 bytes/s, block
//           align 4, 32 bits, extension size 0
//   "fact"  4 bytes: 102400, the sample count
//   "srge"  8 bytes: version 1, frame size 1024
//   "data"  409600 bytes: the table's 102400 floats exactly as in memory
//   "qarn"  160 bytes: version 1, then the knob values of Wave, Offset and
//           Padwave, PadwaveValue, PadwaveTimes10, Polarity, ViewMode and the
//           32 harmonic levels, each a 32-bit little-endian integer
//   "qpad"  524288 bytes: the pad's 131072 floats exactly as in memory
//   "qadd"  4096 bytes: the 1024 floats of the additive frame the Additive and
//           Padwave views show
//   "qfrm"  the formula the Formula dialog offers: version 1, the mode (0 Wave,
//           1 Harmonics), then the wave, amplitude and phase texts, each as its
//           length in bytes (at most 4096) and its bytes, no terminator; a pad
//           byte follows an odd size, as RIFF wants. Optional: a project
//           without it has the default formula.
//   "qlua"  the script the Script dialog offers: version 1, Frames (0 for the
//           range's count, else 1 .. 512), Samples (2 .. 4096), then the
//           script's length in bytes (at most 1 MB) and its bytes, each number
//           a 32-bit little-endian integer; a pad byte follows an odd size.
//           Optional: a project without it has the default script.
// Pure functions of their arguments: any bytes are safe to hand the parser.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/editor_state.h"
#include "core/panel.h"

constexpr uint32_t ProjectVersion = 1;
constexpr uint32_t FormulaChunkVersion = 1;
constexpr uint32_t ScriptChunkVersion = 1;
constexpr uint32_t ProjectRecordBytes = 4 + 4 * (KnobCount + 4 + HarmonicCount); // 160

// Everything a project file holds, apart from the windows and files it came from.
struct ProjectDocument {
    std::vector<float> table = std::vector<float>(TableSamples);
    std::vector<float> pad = std::vector<float>(PadwaveSamples);
    std::vector<float> additive = std::vector<float>(SamplesPerFrame);
    int32_t knobs[KnobCount] = {}; // Wave, Offset, Padwave: 0..99
    int32_t padwaveValue = 0;      // 0..99
    int32_t padwaveTimes10 = 0;    // 0 or 1
    int32_t polarity = 1;          // 0 or 1
    int32_t view = ViewWaveform;
    int32_t harmonics[HarmonicCount] = {}; // any level, as harmonics files hold them
    Formula formula;
    WavetableScript script;
};

enum class ProjectStatus {
    Ok,
    NotProject, // no "qarn" chunk in a whole file, or not a WAV file at all
    Damaged,    // a "qarn" chunk, or a cut-off file, with something wrong or missing
};

std::vector<uint8_t> BuildProjectImage(const ProjectDocument& document);

// Fills `document` only from a file in which every chunk is whole and right; on
// any other status its content is unspecified.
ProjectStatus ParseProject(const uint8_t* data, size_t size, ProjectDocument& document);

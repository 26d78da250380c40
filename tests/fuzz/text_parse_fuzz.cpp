// Numbers, seconds, note names and pitches from any bytes keep their range and wholeness, octaves
// at most two digits, and a note's name reads back as the same note.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "io/pitch_names.h"
#include "platform/common/text_parse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto value = ParseNumber(text, -1000.0, 1000.0, size % 2 == 0))
        if (!(std::fabs(*value) <= 1000.0) || (size % 2 == 0 && *value != std::floor(*value)))
            __builtin_trap();
    if (const auto seconds = ParseSeconds(text))
        if (!(*seconds >= 0.0) || !std::isfinite(*seconds)) __builtin_trap();
    if (const auto note = ParseNoteName(text))
        if (*note < -1177 || *note > 1211 ||
            (std::abs(*note) < 1000 && ParseNoteName(NoteName(*note)) != note))
            __builtin_trap();
    double hz = 0.0;
    if (ParsePitch(text, hz) && !(hz >= 1.0 && hz <= 100000.0)) __builtin_trap();
    return 0;
}

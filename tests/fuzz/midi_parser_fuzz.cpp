// The MIDI parser on any bytes: every event within the ranges the engine takes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/common/midi_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MidiParser parser;
    for (size_t i = 0; i < size; ++i) {
        AuditionEvent event;
        if (!MidiParse(parser, data[i], event)) continue;
        if (event.note > 127 || event.value > 127 || event.bend < -8192 || event.bend > 8191)
            std::abort();
        if (event.type == AuditionEventType::SetPlayMode) std::abort();
    }
    return 0;
}

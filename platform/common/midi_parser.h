// Reads a MIDI byte stream into audition events, one byte at a time: running
// status, real-time bytes between others, SysEx, and data bytes without a
// status (dropped), as a MIDI input meets them. Any channel plays.
#pragma once

#include <cstdint>

#include "platform/audition_events.h"

struct MidiParser {
    uint8_t status = 0; // the running status; 0: none, data bytes are dropped
    uint8_t data[2] = {0, 0};
    int count = 0;        // data bytes of the current message so far
    bool inSysEx = false; // between F0 and its end
};

// Feeds one byte; true, with `event` filled, when it completes a message the
// audition plays: note on and off (velocity 0 is off), pitch bend, CC 1 and
// CC 64 as controls, CC 120 (all sound off) and CC 123 (all notes off).
bool MidiParse(MidiParser& parser, uint8_t byte, AuditionEvent& event);

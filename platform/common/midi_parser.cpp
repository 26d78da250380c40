#include "platform/common/midi_parser.h"

namespace {

// Data bytes of a channel message: program change and channel pressure have
// one, every other has two.
int DataBytes(uint8_t status) {
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

bool ToEvent(uint8_t status, const uint8_t* data, AuditionEvent& event) {
    event = AuditionEvent{};
    switch (status & 0xF0) {
    case 0x90:
        event.type = data[1] > 0 ? AuditionEventType::NoteOn : AuditionEventType::NoteOff;
        event.note = data[0];
        event.value = data[1];
        return true;
    case 0x80:
        event.type = AuditionEventType::NoteOff;
        event.note = data[0];
        return true;
    case 0xE0:
        event.type = AuditionEventType::PitchBend;
        event.bend = static_cast<int16_t>((data[0] | (data[1] << 7)) - 8192);
        return true;
    case 0xB0:
        if (data[0] == 120) {
            event.type = AuditionEventType::AllSoundOff;
            return true;
        }
        if (data[0] == 123) {
            event.type = AuditionEventType::AllNotesOff;
            return true;
        }
        if (data[0] != 1 && data[0] != 64) return false;
        event.type = AuditionEventType::Control;
        event.note = data[0];
        event.value = data[1];
        return true;
    default:
        return false;
    }
}

} // namespace

bool MidiParse(MidiParser& parser, uint8_t byte, AuditionEvent& event) {
    if (byte >= 0xF8) return false; // real-time bytes may come anywhere and change nothing
    if (byte >= 0x80) {
        // A channel status starts a message; SysEx and the system common
        // messages end the running status, so their data bytes are dropped.
        parser.status = byte < 0xF0 ? byte : 0;
        parser.count = 0;
        parser.inSysEx = byte == 0xF0;
        return false;
    }
    if (parser.inSysEx || parser.status == 0) return false;
    parser.data[parser.count++] = byte;
    if (parser.count < DataBytes(parser.status)) return false;
    parser.count = 0;
    return ToEvent(parser.status, parser.data, event);
}

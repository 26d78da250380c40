// The audition's events: what the editor, the computer keys and MIDI input
// tell the audition's engine, as plain data that crosses from those threads to
// the sound output's. The engine itself is synth/audition.h.
#pragma once

#include <cstdint>

// The engine's immutable, band-limited copy of the material (synth/audition.h).
struct AuditionMaterial;

// What a note plays, chosen by the view. Positions are in frames (fractional).
// A note keeps the source it started with; from, to, seconds and pingPong
// apply to the sounding notes at once (a jump of the position glides there in
// 20 ms). Each note's sweep starts at its own note-on.
enum class AuditionSource : uint8_t { Table, Additive, Pad };
struct AuditionPlayMode {
    AuditionSource source = AuditionSource::Table;
    float from = 0.0f;     // frame at note-on
    float to = 0.0f;       // other end of the sweep (== from: holds one frame)
    float seconds = 2.0f;  // time from `from` to `to`
    bool pingPong = false; // true: back and forth endlessly; false: stops at `to`
};

// Events the engine applies between blocks (MIDI-like).
enum class AuditionEventType : uint8_t {
    NoteOn,
    NoteOff,
    PitchBend,
    Control,
    AllNotesOff,
    AllSoundOff,
    SetPlayMode
};
struct AuditionEvent {
    AuditionEventType type;
    uint8_t note = 0;      // NoteOn/NoteOff; Control: controller number
    uint8_t value = 0;     // NoteOn: velocity (0 = NoteOff); Control: value
    int16_t bend = 0;      // PitchBend: -8192 .. 8191 (+-2 semitones)
    AuditionPlayMode mode; // SetPlayMode
};

// The events, each built in one place.
inline AuditionEvent MakeAuditionEvent(AuditionEventType type, uint8_t note = 0,
                                       uint8_t value = 0) {
    AuditionEvent event{};
    event.type = type;
    event.note = note;
    event.value = value;
    return event;
}
inline AuditionEvent NoteOnEvent(uint8_t note, uint8_t velocity) {
    return MakeAuditionEvent(AuditionEventType::NoteOn, note, velocity);
}
inline AuditionEvent NoteOffEvent(uint8_t note) {
    return MakeAuditionEvent(AuditionEventType::NoteOff, note);
}
inline AuditionEvent ControlEvent(uint8_t number, uint8_t value) {
    return MakeAuditionEvent(AuditionEventType::Control, number, value);
}
inline AuditionEvent BendEvent(int16_t bend) {
    AuditionEvent event = MakeAuditionEvent(AuditionEventType::PitchBend);
    event.bend = bend;
    return event;
}
inline AuditionEvent PlayModeEvent(const AuditionPlayMode& mode) {
    AuditionEvent event = MakeAuditionEvent(AuditionEventType::SetPlayMode);
    event.mode = mode;
    return event;
}

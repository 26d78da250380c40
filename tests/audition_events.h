// The audition engine's events, built for the tests, and its material as an owner.
#pragma once

#include <memory>

#include "synth/audition.h"
#include "synth/audition_material.h"

using Material = std::unique_ptr<AuditionMaterial, decltype(&FreeAuditionMaterial)>;

inline AuditionEvent Event(AuditionEventType type, uint8_t note = 0, uint8_t value = 0) {
    AuditionEvent e;
    e.type = type;
    e.note = note;
    e.value = value;
    return e;
}

inline AuditionEvent NoteOn(uint8_t note, uint8_t velocity = 127) {
    return Event(AuditionEventType::NoteOn, note, velocity);
}
inline AuditionEvent NoteOff(uint8_t note) { return Event(AuditionEventType::NoteOff, note); }
inline AuditionEvent Controller(uint8_t number, uint8_t value) {
    return Event(AuditionEventType::Control, number, value);
}

inline AuditionEvent Bend(int16_t bend) {
    AuditionEvent e = Event(AuditionEventType::PitchBend);
    e.bend = bend;
    return e;
}

inline AuditionEvent Mode(float from, float to, float seconds = 2.0f, bool pingPong = false,
                          AuditionSource source = AuditionSource::Table) {
    AuditionEvent e = Event(AuditionEventType::SetPlayMode);
    e.mode.source = source;
    e.mode.from = from;
    e.mode.to = to;
    e.mode.seconds = seconds;
    e.mode.pingPong = pingPong;
    return e;
}

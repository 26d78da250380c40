// The MIDI input's bytes through the headless twin of the port.
#include "tests/test_support.h"

TEST(Midi, BytesBecomeTheirEvents) {
    using T = AuditionEventType;
    using Event = std::tuple<T, int, int, int>; // type, note, value, bend
    const std::tuple<const char*, std::vector<uint8_t>, std::vector<Event>> cases[] = {
        {"notes on any channel; velocity 0 ends a note",
         {0x90, 69, 100, 0x85, 69, 64, 0x9F, 60, 1, 0x90, 60, 0},
         {{T::NoteOn, 69, 100, 0},
          {T::NoteOff, 69, 0, 0},
          {T::NoteOn, 60, 1, 0},
          {T::NoteOff, 60, 0, 0}}},
        {"bend spans its fourteen bits",
         {0xE0, 0x00, 0x00, 0xE0, 0x7F, 0x7F, 0xE3, 0x00, 0x40},
         {{T::PitchBend, 0, 0, -8192}, {T::PitchBend, 0, 0, 8191}, {T::PitchBend, 0, 0, 0}}},
        {"mod wheel, sustain and the all-off controllers",
         {0xB0, 1, 127, 0xB0, 64, 100, 0xB0, 7, 90, 0xB0, 120, 0, 0xB0, 123, 0},
         {{T::Control, 1, 127, 0},
          {T::Control, 64, 100, 0},
          {T::AllSoundOff, 0, 0, 0},
          {T::AllNotesOff, 0, 0, 0}}},
        {"running status and real-time bytes between",
         {0x90, 60, 90, 62, 0xF8, 91, 60, 0},
         {{T::NoteOn, 60, 90, 0}, {T::NoteOn, 62, 91, 0}, {T::NoteOff, 60, 0, 0}}},
        // Data without a status; a SysEx whose bytes look like running notes; a note cut short by
        // another status; data after a system common message; then a whole message still plays.
        {"stray data, SysEx and truncated messages",
         {60,   100, 0x90, 60,   100, 0xF0, 60, 100,  0xF7, 61, 62,
          0x90, 64,  0xB0, 0xF2, 1,   2,    3,  0x90, 64,   80},
         {{T::NoteOn, 60, 100, 0}, {T::NoteOn, 64, 80, 0}}},
    };
    for (const auto& [name, bytes, expected] : cases) {
        FreshWindow();
        HeadlessFeedMidi(bytes);
        std::vector<Event> events;
        for (const AuditionEvent& e : HeadlessMidiEvents)
            events.emplace_back(e.type, e.note, e.value, e.bend);
        EXPECT_EQ(events, expected) << name;
    }
}

// The MIDI input's bytes through the headless twin of the port.
#include "tests/test_support.h"

namespace {

using T = AuditionEventType;

struct Expected {
    T type;
    int note, value, bend;
};

struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    std::vector<Expected> events;
};

} // namespace

TEST(Midi, BytesBecomeTheirEvents) {
    const Case cases[] = {
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
        // Data without a status; a SysEx whose bytes look like running notes; a
        // note cut short by another status; data after a system common message;
        // then the next whole message still plays.
        {"stray data, SysEx and truncated messages",
         {60,   100, 0x90, 60,   100, 0xF0, 60, 100,  0xF7, 61, 62,
          0x90, 64,  0xB0, 0xF2, 1,   2,    3,  0x90, 64,   80},
         {{T::NoteOn, 60, 100, 0}, {T::NoteOn, 64, 80, 0}}},
    };
    for (const Case& c : cases) {
        FreshWindow();
        HeadlessFeedMidi(c.bytes);
        ASSERT_EQ(HeadlessMidiEvents.size(), c.events.size()) << c.name;
        for (size_t i = 0; i < c.events.size(); ++i) {
            const AuditionEvent& event = HeadlessMidiEvents[i];
            const Expected& e = c.events[i];
            EXPECT_EQ(event.type, e.type) << c.name << ", event " << i;
            EXPECT_EQ(event.note, e.note) << c.name << ", event " << i;
            EXPECT_EQ(event.value, e.value) << c.name << ", event " << i;
            EXPECT_EQ(event.bend, e.bend) << c.name << ", event " << i;
        }
    }
}

TEST(Midi, ANoteFromMidiSounds) {
    FreshWindow();
    Command(CmdSine);
    std::string reason;
    ASSERT_TRUE(OpenAuditionOutput(reason));
    HeadlessFeedMidi({0x90, 69, 127});
    float block[512];
    float peak = 0.0f;
    for (int b = 0; b < 20; ++b) {
        HeadlessRenderAudition(block, 256);
        for (float v : block) peak = std::max(peak, std::abs(v));
    }
    EXPECT_GT(peak, 0.05f);
}

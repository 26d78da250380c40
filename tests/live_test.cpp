// The live audition on the headless backend, rendered block by block as the audio callback would.
#include "synth/audition.h"
#include "tests/audio_helpers.h"
#include "tests/test_support.h"

namespace {

// Renders `seconds` of sound in one block and returns the left channel.
std::vector<float> RenderLeft(float seconds) {
    std::vector<float> stereo(2 * static_cast<size_t>(seconds * HeadlessAuditionRate)), left;
    HeadlessRenderAudition(stereo.data(), static_cast<int>(stereo.size() / 2));
    for (size_t i = 0; i < stereo.size(); i += 2) left.push_back(stereo[i]);
    return left;
}

// Harmonic h of A4 over its fundamental in `seconds` of sound after `skipped` more.
double HarmonicOverFirst(int h, float seconds, float skipped = 0.0f) {
    RenderLeft(skipped);
    const std::vector<float> sound = RenderLeft(seconds);
    return Amplitude(sound, h * 440.0, HeadlessAuditionRate) /
           Amplitude(sound, 440.0, HeadlessAuditionRate);
}

void Key(uint32_t message, char key) { MainWindowProc(HeadlessWindow(), message, key, 0); }
// Presses and lets go of `key`; the note of the last event the press sent.
int Tap(char key) {
    Key(WM_KEYDOWN, key);
    const int note = HeadlessAuditionEvents.empty() ? -1 : HeadlessAuditionEvents.back().note;
    Key(WM_KEYUP, key);
    return note;
}

int CountEvents(AuditionEventType type, int note = -1) {
    int count = 0;
    for (const AuditionEvent& event : HeadlessAuditionEvents)
        count += event.type == type && (note < 0 || event.note == note);
    return count;
}

// Drags knob `k` far down to 0, then up to `value`.
void SetKnob(int k, int value) {
    const int x = (Knobs[k].left + Knobs[k].right) / 2, y = (Knobs[k].top + Knobs[k].bottom) / 2;
    Drag(x, y, x, y + 200);
    Drag(x, y, x, y - value);
}

} // namespace

TEST(Live, KnobsSlidersAndSweepsAreHeardWhileAKeyIsHeld) {
    SineToSquareTable(); // a knob drag moves the position without a rebuild
    Command(CmdViewWaveform);
    SetKnob(0, 0);
    Key(WM_KEYDOWN, 'h');
    EXPECT_LT(HarmonicOverFirst(3, 0.2f), 0.01);
    const int publishes = HeadlessAuditionPublishes;
    SetKnob(0, 99);
    EXPECT_NEAR(HarmonicOverFirst(3, 0.2f, 0.1f), 1.0 / 3.0, 0.02);
    EXPECT_EQ(HeadlessAuditionPublishes, publishes);
    for (int step = 0; step < 99; ++step) HeadlessPressKey("Left"); // heard as a drag is
    EXPECT_LT(HarmonicOverFirst(3, 0.2f, 0.1f), 0.01);

    FreshWindow();
    Command(CmdViewAdditive);
    Key(WM_KEYDOWN, 'h');
    EXPECT_LT(HarmonicOverFirst(2, 0.2f), 0.001);
    const int x = (HarmonicSlider.left[1] + HarmonicSlider.right[1]) / 2;
    Press(x, 250);
    Move(x, 200);   // harmonic 2 to full level while the button is still held
    Send(WM_PAINT); // its rebuild is published and crossfaded into
    EXPECT_GT(HarmonicOverFirst(2, 0.2f, 0.1f), 0.5);
    Release();

    SineToSquareTable();
    Command(CmdSweepHalfSecond);
    const AuditionEvent& mode = HeadlessAuditionEvents.back();
    ASSERT_EQ(mode.type, AuditionEventType::SetPlayMode);
    EXPECT_EQ(std::tuple(mode.mode.from, mode.mode.to, mode.mode.seconds, mode.mode.pingPong),
              std::tuple(0.0f, 99.0f, 0.5f, true));
}

// The Preview menu: sweep times as radio items, the MIDI state, and a Keys line that follows
// Z and X through the octaves C1 to C7.
TEST(Live, PreviewMenuKeysOctavesHeldNotesAndOtherKeys) {
    FreshWindow();
    auto items = []() -> const std::vector<MenuItem>& { return HeadlessMenuBar.end()[-2].items; };
    EXPECT_EQ(items().at(3).label, "Sweep Time");
    std::string sweeps;
    for (const MenuItem& item : items().at(3).submenu)
        sweeps += item.label + (item.radio ? "" : "(not radio)") + (item.checked ? "* " : " ");
    EXPECT_EQ(sweeps, "0.5 s 1 s 2 s* 4 s 8 s ");
    EXPECT_EQ(items().at(4).label, "MIDI: not available");
    EXPECT_FALSE(items().at(4).enabled);
    Command(CmdSweep8Seconds);
    EXPECT_TRUE(items().at(3).submenu.at(4).checked);
    EXPECT_EQ(SweepSeconds, 8.0f);
    const std::string keys = "awsedftgyhujkolp;'";
    for (size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(Tap(keys[i]), 60 + static_cast<int>(i)) << keys[i];
    EXPECT_EQ(items().at(5).label, "Keys: C4\u2013F5");
    // Each row: octave keys tapped, then the note A plays (H for the first).
    for (auto [octaveKey, taps, note, label] :
         {std::tuple{'z', 1, 57, "C3\u2013F4"}, std::tuple{'z', 6, 24, "C1\u2013F2"},
          std::tuple{'x', 1, 36, "C2\u2013F3"}, std::tuple{'x', 9, 96, "C7\u2013F8"}}) {
        for (int i = 0; i < taps; ++i) Tap(octaveKey);
        EXPECT_EQ(Tap(note == 57 ? 'h' : 'a'), note);
        EXPECT_EQ(items().at(5).label, std::string("Keys: ") + label);
        EXPECT_FALSE(items().at(5).enabled);
    }
    Key(WM_KEYDOWN, 'z');
    Key(WM_KEYDOWN, 'z'); // a held Z moves one octave only
    EXPECT_EQ(Tap('a'), 84);

    // One note per held key until released, unfocused or stopped; MIDI notes sound too.
    FreshWindow();
    Command(CmdSine);
    Key(WM_KEYDOWN, 'h');
    const int modes = CountEvents(AuditionEventType::SetPlayMode);
    Key(WM_KEYDOWN, 'h'); // the key's repeat
    Tap('j');             // the engine has the mode: a second note does not resend it
    EXPECT_EQ(CountEvents(AuditionEventType::SetPlayMode), modes);
    EXPECT_EQ(CountEvents(AuditionEventType::NoteOn, 69), 1);
    EXPECT_EQ(CountEvents(AuditionEventType::NoteOff, 69), 0);
    Key(WM_KEYDOWN, 'x'); // an octave change while the note is held
    Key(WM_KEYUP, 'h');
    EXPECT_EQ(CountEvents(AuditionEventType::NoteOff, 69), 1);
    Key(WM_KEYDOWN, 'a'); // an octave up from the X: C5 and A5
    Key(WM_KEYDOWN, 'h');
    Send(WM_KILLFOCUS);
    EXPECT_EQ(CountEvents(AuditionEventType::NoteOff, 72), 1);
    EXPECT_EQ(CountEvents(AuditionEventType::NoteOff, 81), 1);
    Key(WM_KEYDOWN, 'h');
    RenderLeft(0.1f);
    EXPECT_TRUE(HeadlessPressKey("Esc"));
    EXPECT_EQ(CountEvents(AuditionEventType::AllSoundOff), 1);
    EXPECT_EQ(Peak(RenderLeft(0.1f), static_cast<size_t>(HeadlessAuditionRate / 20)), 0.0f);
    HeadlessFeedMidi({0x90, 60, 127});
    EXPECT_GT(Peak(RenderLeft(0.1f)), 0.05f);
    Key(WM_KEYDOWN, 'h'); // Stop let go of the key: the next press plays again
    EXPECT_EQ(CountEvents(AuditionEventType::NoteOn, 81), 3);

    FreshWindow(); // other keys go on to the menus; a failed output is told once
    for (char key : {' ', 'q', '1', 'b'})
        EXPECT_EQ(MainWindowProc(HeadlessWindow(), WM_KEYDOWN, key, 0), 0) << key;
    EXPECT_EQ(CountEvents(AuditionEventType::NoteOn), 0);
    HeadlessAuditionFailure = "no device";
    Tap('h');
    Key(WM_KEYDOWN, 'j');
    ASSERT_EQ(HeadlessMessageBoxes.size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes[0].text, "no device");
    EXPECT_EQ(HeadlessMessageBoxes[0].caption, "Error");
}

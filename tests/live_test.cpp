// The live audition on the headless backend: the test renders blocks as the
// audio callback would, from what the editor published and sent.
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

// Harmonic h of A4 over its fundamental in `seconds` of sound from now.
double HarmonicOverFirst(int h, float seconds) {
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

TEST(Live, EditsAndKnobsAreHeardWhileAKeyIsHeld) {
    FreshWindow();
    Command(CmdSine);
    Key(WM_KEYDOWN, 'h');
    EXPECT_LT(HarmonicOverFirst(3, 0.2f), 0.01);
    Command(CmdSquare); // heard as soon as its rebuild is published
    RenderLeft(0.05f);  // the crossfade into the new material
    EXPECT_NEAR(HarmonicOverFirst(3, 0.2f), 1.0 / 3.0, 0.02);

    SineToSquareTable(); // a knob drag moves the position without a rebuild
    Command(CmdViewWaveform);
    SetKnob(0, 0);
    Key(WM_KEYDOWN, 'h');
    EXPECT_LT(HarmonicOverFirst(3, 0.2f), 0.01);
    const int publishes = HeadlessAuditionPublishes;
    SetKnob(0, 99);
    RenderLeft(0.1f);
    EXPECT_NEAR(HarmonicOverFirst(3, 0.2f), 1.0 / 3.0, 0.02);
    EXPECT_EQ(HeadlessAuditionPublishes, publishes);
    for (int step = 0; step < 99; ++step) HeadlessPressKey("Left"); // heard as a drag is
    RenderLeft(0.1f);
    EXPECT_LT(HarmonicOverFirst(3, 0.2f), 0.01);
}

TEST(Live, AdditiveSliderDragsAreHeard) {
    FreshWindow();
    Command(CmdViewAdditive);
    Key(WM_KEYDOWN, 'h');
    EXPECT_LT(HarmonicOverFirst(2, 0.2f), 0.001);
    const int x = (HarmonicSlider.left[1] + HarmonicSlider.right[1]) / 2;
    Press(x, 250);
    Move(x, 200); // harmonic 2 to full level while the button is still held
    Send(WM_PAINT);
    RenderLeft(0.1f);
    EXPECT_GT(HarmonicOverFirst(2, 0.2f), 0.5);
    Release();
}

TEST(Live, WavetableViewSweepsBetweenTheKnobFramesOverTheSweepTime) {
    SineToSquareTable();
    Command(CmdSweepHalfSecond);
    const AuditionEvent& mode = HeadlessAuditionEvents.back();
    ASSERT_EQ(mode.type, AuditionEventType::SetPlayMode);
    EXPECT_EQ(std::tuple(mode.mode.from, mode.mode.to, mode.mode.seconds, mode.mode.pingPong),
              std::tuple(0.0f, 99.0f, 0.5f, true));
    Key(WM_KEYDOWN, 'h');
    RenderLeft(0.45f); // near the Square end
    EXPECT_GT(HarmonicOverFirst(3, 0.05f), 0.25);
    RenderLeft(0.45f); // back near the Sine end
    EXPECT_LT(HarmonicOverFirst(3, 0.05f), 0.08);
}

// A held key plays one note however it repeats and ends it with its own note; losing the focus
// ends every note; Stop silences them at once and lets go of the keys; MIDI notes sound too.
TEST(Live, HeldKeysPlayOneNoteEachUntilReleasedUnfocusedOrStopped) {
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
    RenderLeft(0.05f);
    EXPECT_EQ(Peak(RenderLeft(0.05f)), 0.0f);
    HeadlessFeedMidi({0x90, 60, 127});
    EXPECT_GT(Peak(RenderLeft(0.1f)), 0.05f);
    Key(WM_KEYDOWN, 'h'); // Stop let go of the key: the next press plays again
    EXPECT_EQ(CountEvents(AuditionEventType::NoteOn, 81), 3);
}

TEST(Live, KeyLayoutAndOctavesFromC1ToC7) {
    FreshWindow();
    const std::string keys = "awsedftgyhujkolp;'";
    for (size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(Tap(keys[i]), 60 + static_cast<int>(i)) << keys[i];
    // Each row: octave keys tapped, then the note A plays (H for the first).
    for (auto [octaveKey, taps, note] : {std::tuple{'z', 1, 57}, std::tuple{'z', 6, 24},
                                         std::tuple{'x', 1, 36}, std::tuple{'x', 9, 96}}) {
        for (int i = 0; i < taps; ++i) Tap(octaveKey);
        EXPECT_EQ(Tap(note == 57 ? 'h' : 'a'), note);
    }
    Key(WM_KEYDOWN, 'z');
    Key(WM_KEYDOWN, 'z'); // a held Z moves one octave only
    EXPECT_EQ(Tap('a'), 84);
}

TEST(Live, OtherKeysGoOnToTheMenusAndAFailedOutputIsToldOnce) {
    FreshWindow();
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

// The sweep times are radio items; the Keys line follows Z and X.
TEST(Live, PreviewMenuHasSweepTimesTheMidiStateAndTheKeys) {
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
    const std::pair<std::string, std::string> octaves[] = {
        {"", "Keys: C4\u2013F5"}, {"z", "Keys: C3\u2013F4"}, {"xxxxxx", "Keys: C7\u2013F8"}};
    for (const auto& [keys, label] : octaves) {
        for (char key : keys) Tap(key);
        const MenuItem& line = items().at(5);
        EXPECT_EQ(line.label, label);
        EXPECT_FALSE(line.enabled);
    }
}

// The live audition on the headless backend: the test renders blocks as the
// audio callback would, from what the editor published and sent.
#include "synth/audition.h"
#include "tests/spectrum.h"
#include "tests/test_support.h"

namespace {

// Renders `seconds` of sound and returns the left channel.
std::vector<float> RenderLeft(float seconds) {
    constexpr int BlockFrames = 256;
    std::vector<float> left;
    float block[2 * BlockFrames];
    for (int b = static_cast<int>(seconds * HeadlessAuditionRate) / BlockFrames; b > 0; --b) {
        HeadlessRenderAudition(block, BlockFrames);
        for (int f = 0; f < BlockFrames; ++f) left.push_back(block[2 * f]);
    }
    return left;
}

// Harmonic h of A4 over its fundamental in `seconds` of sound from now.
double HarmonicOverFirst(int h, float seconds) {
    const std::vector<float> sound = RenderLeft(seconds);
    return Amplitude(sound, h * 440.0, HeadlessAuditionRate) /
           Amplitude(sound, 440.0, HeadlessAuditionRate);
}

void Key(uint32_t message, char key) { MainWindowProc(HeadlessWindow(), message, key, 0); }
void Tap(char key) {
    Key(WM_KEYDOWN, key);
    Key(WM_KEYUP, key);
}

int CountEvents(AuditionEventType type, int note = -1) {
    int count = 0;
    for (const AuditionEvent& event : HeadlessAuditionEvents)
        count += event.type == type && (note < 0 || event.note == note);
    return count;
}

int LastNoteOn() {
    for (auto event = HeadlessAuditionEvents.rbegin(); event != HeadlessAuditionEvents.rend();
         ++event)
        if (event->type == AuditionEventType::NoteOn) return event->note;
    return -1;
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
    EXPECT_EQ(mode.mode.from, 0.0f);
    EXPECT_EQ(mode.mode.to, 99.0f);
    EXPECT_EQ(mode.mode.seconds, 0.5f);
    EXPECT_TRUE(mode.mode.pingPong);
    Key(WM_KEYDOWN, 'h');
    RenderLeft(0.45f); // near the Square end
    EXPECT_GT(HarmonicOverFirst(3, 0.05f), 0.25);
    RenderLeft(0.45f); // back near the Sine end
    EXPECT_LT(HarmonicOverFirst(3, 0.05f), 0.08);
}

TEST(Live, HeldKeyPlaysOneNoteAndReleaseEndsItWithItsOwnNote) {
    FreshWindow();
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
}

TEST(Live, KeyLayoutAndOctavesFromC1ToC7) {
    FreshWindow();
    const std::string keys = "awsedftgyhujkolp;'";
    for (size_t i = 0; i < keys.size(); ++i) {
        Tap(keys[i]);
        EXPECT_EQ(LastNoteOn(), 60 + static_cast<int>(i)) << keys[i];
    }
    // Each row: octave keys tapped, then the note A plays (H for the first).
    for (auto [octaveKey, taps, note] : {std::tuple{'z', 1, 57}, std::tuple{'z', 6, 24},
                                         std::tuple{'x', 1, 36}, std::tuple{'x', 9, 96}}) {
        for (int i = 0; i < taps; ++i) Tap(octaveKey);
        Tap(note == 57 ? 'h' : 'a');
        EXPECT_EQ(LastNoteOn(), note);
    }
    Key(WM_KEYDOWN, 'z');
    Key(WM_KEYDOWN, 'z'); // a held Z moves one octave only
    Tap('a');
    EXPECT_EQ(LastNoteOn(), 84);
}

TEST(Live, LosingFocusEndsEveryNoteAndStopSilences) {
    FreshWindow();
    Key(WM_KEYDOWN, 'a');
    Key(WM_KEYDOWN, 'h');
    Send(WM_KILLFOCUS);
    EXPECT_EQ(CountEvents(AuditionEventType::NoteOff, 60), 1);
    EXPECT_EQ(CountEvents(AuditionEventType::NoteOff, 69), 1);
    Key(WM_KEYDOWN, 'h');
    RenderLeft(0.1f);
    EXPECT_TRUE(HeadlessPressKey("Esc"));
    EXPECT_EQ(CountEvents(AuditionEventType::AllSoundOff), 1);
    RenderLeft(0.05f);
    const std::vector<float> after = RenderLeft(0.05f);
    EXPECT_EQ(*std::max_element(after.begin(), after.end()), 0.0f);
    Key(WM_KEYDOWN, 'h'); // Stop let go of the key: the next press plays again
    EXPECT_EQ(CountEvents(AuditionEventType::NoteOn, 69), 3);
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
    const MenuPopup& preview = HeadlessMenuBar[HeadlessMenuBar.size() - 2];
    ASSERT_EQ(preview.items.size(), 6u);
    EXPECT_EQ(preview.items[0].id, CmdPlay);
    EXPECT_EQ(preview.items[1].id, CmdStop);
    const MenuItem& sweep = preview.items[3];
    EXPECT_EQ(sweep.label, "Sweep Time");
    std::vector<std::string> labels, checked;
    for (const MenuItem& item : sweep.submenu) {
        labels.push_back(item.label);
        EXPECT_TRUE(item.radio) << item.label;
        if (item.checked) checked.push_back(item.label);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"0.5 s", "1 s", "2 s", "4 s", "8 s"}));
    EXPECT_EQ(checked, std::vector<std::string>{"2 s"});
    EXPECT_EQ(preview.items[4].label, "MIDI: not available");
    EXPECT_FALSE(preview.items[4].enabled);
    Command(CmdSweep8Seconds);
    EXPECT_TRUE(HeadlessMenuBar[HeadlessMenuBar.size() - 2].items[3].submenu[4].checked);
    EXPECT_EQ(SweepSeconds, 8.0f);
    const std::pair<std::string, std::string> octaves[] = {
        {"", "Keys: C4\u2013F5"}, {"z", "Keys: C3\u2013F4"}, {"xxxxxx", "Keys: C7\u2013F8"}};
    for (const auto& [keys, label] : octaves) {
        for (char key : keys) Tap(key);
        const MenuItem& line = HeadlessMenuBar[HeadlessMenuBar.size() - 2].items[5];
        EXPECT_EQ(line.label, label);
        EXPECT_FALSE(line.enabled);
    }
}

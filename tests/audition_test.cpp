#include "synth/oscillator.h"
#include "tests/audio_helpers.h"
#include "tests/audition_events.h"
#include "tests/test_support.h"

namespace {

constexpr float Rate = 48000.0f;
constexpr int Second = 48000;
constexpr int Ms = Second / 1000;
constexpr int Settle = Second / 20; // attack and level fade long over
constexpr bool Steps = true;

Material EditorMaterial(const AuditionMaterial* previous = nullptr) {
    return Material(BuildAuditionMaterial(Wavetable, AdditiveFrame, PadwaveBuffer, previous),
                    &FreeAuditionMaterial);
}

AuditionEvent On(int note, int velocity = 127) {
    return NoteOnEvent(static_cast<uint8_t>(note), static_cast<uint8_t>(velocity));
}

AuditionEngine Started(std::initializer_list<AuditionEvent> events) {
    AuditionEngine engine;
    AuditionReset(engine, Rate);
    for (const AuditionEvent& event : events) AuditionApply(engine, event);
    return engine;
}

// `frames` frames of the left channel, from `from` on; the right one must be the same.
std::vector<float> Render(AuditionEngine& engine, const AuditionMaterial* material, int frames,
                          int from = 0) {
    std::vector<float> stereo(2 * static_cast<size_t>(frames)), left;
    AuditionRender(engine, material, stereo.data(), frames);
    for (int i = from; i < frames; ++i) {
        left.push_back(stereo[2 * static_cast<size_t>(i)]);
        EXPECT_EQ(stereo[2 * static_cast<size_t>(i) + 1], left.back());
    }
    return left;
}

} // namespace

// Each note (bent either way) at its pitch: held harmonics up to 0.4 x rate / f0 within 0.1 dB,
// all else 90 dB down. The pad plays its own pitch at its level.
TEST(AuditionSpectrum, SawNotesAndThePadKeepTheirPitchTheirHarmonicsAndNothingElse) {
    FreshEditor();
    Command(CmdSaw);
    const Bins frame = FrameSpectrum(FrameAt(0));
    const int bin = 1308; // the pad's sine: 440.1 Hz at 44100 Hz
    for (int n = 0; n < PadwaveSamples; ++n)
        PadwaveBuffer[n] =
            0.3f * std::sin(2.0f * Pi * static_cast<float>(bin * n % PadwaveSamples) /
                            static_cast<float>(PadwaveSamples));
    const Material material = EditorMaterial();
    // 106 is 3729 Hz: harmonic 6 fits, bent 2 up it does not.
    const int notes[][3] = {{21, 0, 21},   {45, 0, 45},      {69, 0, 69},    {93, 0, 93},
                            {108, 0, 108}, {106, 8191, 108}, {71, -8192, 69}};
    for (const auto& [note, bend, heard] : notes) {
        AuditionEngine engine = Started({On(note)});
        Render(engine, material.get(), Settle);
        AuditionApply(engine, BendEvent(static_cast<int16_t>(bend)));
        const std::vector<float> x = Render(engine, material.get(), Settle + Second, Settle);
        const double f0 = NoteHz(heard), fundamental = Amplitude(x, f0, Rate);
        EXPECT_NEAR(Cents(PeakHz(x, f0, Rate), f0), 0.0, 0.1) << note;
        for (int h = 1; h * f0 < Rate / 2; ++h) {
            const double held = h <= 512 ? std::abs(frame[h]) / std::abs(frame[1]) : 0.0;
            const double level = Amplitude(x, h * f0, Rate) / fundamental;
            if (held >= 1e-4 && h <= std::min(511, static_cast<int>(0.4 * Rate / f0))) {
                EXPECT_NEAR(Decibels(level / held), 0.0, 0.1)
                    << "note " << note << " harmonic " << h;
            } else if (held < 1e-5) {
                EXPECT_LT(Decibels(level), -90.0) << "note " << note << " harmonic " << h;
            }
        }
        const auto [worst, hz] = WorstBetweenHarmonics(x, f0, Rate, 8.0);
        EXPECT_LT(worst, -90.0) << "note " << note << " at " << hz << " Hz";
    }
    AuditionEngine engine = Started({Mode(0.0f, 0.0f, 2.0f, false, AuditionSource::Pad), On(69)});
    const std::vector<float> x = Render(engine, material.get(), Settle + Second, Settle);
    const double hz = bin * 44100.0 / PadwaveSamples;
    EXPECT_NEAR(Cents(PeakHz(x, hz, Rate), hz), 0.0, 0.1);
    EXPECT_NEAR(Peak(x, 0, Second), 0.25f * 0.3f, 0.002f);
}

// One-way sweeps rise smoothly and stay; ping-pong comes back; the mod wheel holds a point.
// Rebuilds share unchanged frames; every pitch has its harmonics.
TEST(AuditionSweepAndMaterial, SweepsFollowTheTableAndRebuildsShareUnchangedFrames) {
    SineToSquareTable();
    const Material material = EditorMaterial();
    AuditionEngine engine = Started({Mode(0.0f, 99.0f, 4.0f), On(81)}); // A5, 880 Hz
    const std::vector<float> x = Render(engine, material.get(), 4 * Second + Second / 10);
    auto third = [](const std::vector<float>& x, int to) {
        return Amplitude({x.begin() + to - Second / 25, x.begin() + to}, 3 * 880.0, Rate);
    };
    const double square = third(x, 4070 * Ms);
    double before = third(x, 45 * Ms);
    EXPECT_LT(before, 0.01 * square);
    for (int to = 50 * Ms; to <= 3995 * Ms; to += 5 * Ms) {
        const double now = third(x, to);
        EXPECT_GT(now, before) << "to " << to << " samples";
        EXPECT_LT(now - before, 0.004 * square) << "to " << to << " samples";
        before = now;
    }

    auto thirdAfter = [&](AuditionEngine& engine, int frames) {
        return third(Render(engine, material.get(), frames), frames);
    };
    engine = Started({Mode(0.0f, 99.0f, 0.5f, true), On(81)});
    EXPECT_NEAR(thirdAfter(engine, Second / 2 + Second / 50), square, 0.03 * square);
    EXPECT_LT(thirdAfter(engine, Second / 2), 0.05 * square); // back at the sine at 1 s
    for (auto [wheel, share] : {std::pair{64, 63.0 / 126.0}, std::pair{127, 1.0}}) {
        engine = Started(
            {Mode(0.0f, 99.0f, 0.5f, true), ControlEvent(1, static_cast<uint8_t>(wheel)), On(81)});
        EXPECT_NEAR(thirdAfter(engine, Second), share * square, 0.01 * square) << wheel;
    }

    // A rebuild shares the unchanged frames and sounds as a fresh one.
    Material first = EditorMaterial();
    EXPECT_TRUE(AuditionMaterialMatches(first.get(), Wavetable, AdditiveFrame, PadwaveBuffer));
    FrameAt(40)[7] = 0.5f;
    EXPECT_FALSE(AuditionMaterialMatches(first.get(), Wavetable, AdditiveFrame, PadwaveBuffer));
    Material second = EditorMaterial(first.get());
    EXPECT_EQ(second->frames[39].get(), first->frames[39].get());
    EXPECT_NE(second->frames[40].get(), first->frames[40].get());
    EXPECT_EQ(second->pad.get(), first->pad.get());
    first.reset(); // what the second shares outlives the first
    const Material fresh = EditorMaterial();
    AuditionEngine a = Started({Mode(35.0f, 45.0f, 0.05f, true), On(57)}), b = a;
    EXPECT_EQ(Render(a, second.get(), Second / 10), Render(b, fresh.get(), Second / 10));
    EXPECT_LT(AuditionMaterialBytes(fresh.get()), 32 << 20);
    for (float* part : {AdditiveFrame + 3, PadwaveBuffer + 5}) {
        *part += 0.25f;
        EXPECT_FALSE(AuditionMaterialMatches(fresh.get(), Wavetable, AdditiveFrame, PadwaveBuffer));
        *part -= 0.25f;
    }
    // Every pitch keeps its harmonics up to 0.42 of the rate and none above.
    const AuditionLadder& ladder = FrameLadder();
    for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
        for (float hz = 8.0f; hz < rate / 2; hz *= 1.001f) {
            const int level = ChooseLevel(ladder, hz, rate);
            ASSERT_GE(level, 0) << hz;
            const int kept = ladder.harmonics[level];
            ASSERT_LT(static_cast<float>(kept) * hz, rate / 2) << hz;
            ASSERT_GE(kept, std::min(511, static_cast<int>(0.42f * rate / hz))) << hz;
        }
        EXPECT_EQ(ChooseLevel(ladder, rate / 2, rate), -1);
    }
    const AuditionLadder& pad = PadLadder();
    EXPECT_EQ(pad.harmonics[0], PadwaveSamples / 2 - 1);
    for (int k = 1; k < pad.count; ++k) EXPECT_LT(pad.harmonics[k], pad.harmonics[k - 1]);
}

// Attack 5 ms, release 150 ms, no clicks, linear velocity; sustain, all notes and sound off.
TEST(AuditionNotes, EnvelopeVelocityControllersVoicesAndTheLimit) {
    FreshEditor(); // a cosine starts at its peak: a note begun or ended at once would click
    for (int n = 0; n < SamplesPerFrame; ++n)
        Wavetable[n] = std::cos(2.0f * Pi * static_cast<float>(n) / SamplesPerFrame);
    const Material material = EditorMaterial();
    AuditionEngine engine = Started({On(60)}), soft = Started({On(60, 64)});
    std::vector<float> x = Render(engine, material.get(), Second / 5);
    const std::vector<float> quiet = Render(soft, material.get(), Second / 5);
    for (size_t i = 0; i < x.size(); ++i) ASSERT_NEAR(quiet[i], x[i] * 64.0f / 127.0f, 1e-6f) << i;
    auto after = [&](AuditionEvent event, int ms) {
        AuditionApply(engine, event);
        return Render(engine, material.get(), ms * Ms);
    };
    const std::vector<float> tail = after(NoteOffEvent(60), 250);
    x.insert(x.end(), tail.begin(), tail.end());
    const int off = Second / 5;
    EXPECT_NEAR(Peak(x, 5 * Ms, 10 * Ms), 0.25f, 0.001f); // full after 5 ms
    EXPECT_LT(Peak(x, 0, SIZE_MAX, Steps), 1.05f * Peak(x, 50 * Ms, 100 * Ms, Steps));
    EXPECT_GT(Peak(x, off + 130 * Ms, off + 140 * Ms), 0.005f); // still fading
    EXPECT_EQ(Peak(x, off + 151 * Ms, off + 250 * Ms), 0.0f);
    EXPECT_TRUE(AuditionSilent(engine));

    engine = Started({ControlEvent(64, 64), On(60), NoteOffEvent(60)});
    EXPECT_NEAR(Peak(Render(engine, material.get(), 300 * Ms), 290 * Ms, 300 * Ms), 0.25f, 0.001f);
    EXPECT_EQ(Peak(after(ControlEvent(64, 0), 200), 160 * Ms, 200 * Ms), 0.0f);
    after(On(60), 50);
    x = after(ControlEvent(123, 0), 200); // all notes off: the release
    EXPECT_GT(Peak(x, 100 * Ms, 110 * Ms), 0.01f);
    EXPECT_EQ(Peak(x, 160 * Ms, 200 * Ms), 0.0f);

    const float steady = Peak(after(On(60), 50), 0, 50 * Ms, Steps);
    x = after(ControlEvent(120, 0), 10); // all sound off: at once, without a click
    EXPECT_LT(Peak(x, 0, SIZE_MAX, Steps), 1.05f * steady);
    EXPECT_EQ(Peak(x, 3 * Ms, 10 * Ms), 0.0f);

    // Sixteen loud notes stay in full scale, NaN is silent, a new note takes the oldest voice.
    Command(CmdSquare);
    FrameAt(0)[100] = NAN;
    FrameAt(0)[200] = INFINITY;
    const Material square = EditorMaterial();
    engine = Started({});
    for (int i = 0; i < AuditionVoiceCount; ++i) {
        AuditionApply(engine, On(40 + i));
        Render(engine, square.get(), 64);
    }
    x = Render(engine, square.get(), Second / 2);
    EXPECT_LT(Peak(x), 1.0f);
    EXPECT_GT(Peak(x), 0.6f);
    for (auto [released, played, gone] : {std::tuple{-1, 90, 40}, std::tuple{50, 91, 50}}) {
        if (released >= 0) AuditionApply(engine, NoteOffEvent(static_cast<uint8_t>(released)));
        AuditionApply(engine, On(played));
        Render(engine, square.get(), Second / 100);
        int sounding = 0;
        for (const AuditionVoice& voice : engine.voices) {
            EXPECT_NE(voice.note, gone);
            EXPECT_NE(voice.stage, AuditionStage::Idle);
            sounding += voice.note == played;
        }
        EXPECT_EQ(sounding, 1) << played;
    }
}

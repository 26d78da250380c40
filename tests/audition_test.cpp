#include <fftw3.h>

#include <memory>

#include "synth/audition.h"
#include "synth/audition_material.h"
#include "synth/oscillator.h"
#include "tests/test_support.h"

namespace {

constexpr float Rate = 48000.0f;
constexpr int Second = 48000;

using Material = std::unique_ptr<AuditionMaterial, decltype(&FreeAuditionMaterial)>;

Material EditorMaterial(const AuditionMaterial* previous = nullptr) {
    return Material(BuildAuditionMaterial(Wavetable, AdditiveFrame, PadwaveBuffer, previous),
                    &FreeAuditionMaterial);
}

// Synthesize > `wave` over every frame.
void GenerateOnAllFrames(CommandId wave) {
    FreshEditor();
    Command(CmdViewWavetable);
    CurrentFrame = 0;
    OffsetFrame = 99;
    Command(wave);
}

AuditionEvent Event(AuditionEventType type, uint8_t note = 0, uint8_t value = 0) {
    AuditionEvent e;
    e.type = type;
    e.note = note;
    e.value = value;
    return e;
}

AuditionEvent NoteOn(uint8_t note, uint8_t velocity = 127) {
    return Event(AuditionEventType::NoteOn, note, velocity);
}
AuditionEvent NoteOff(uint8_t note) { return Event(AuditionEventType::NoteOff, note); }
AuditionEvent Controller(uint8_t number, uint8_t value) {
    return Event(AuditionEventType::Control, number, value);
}

AuditionEvent Bend(int16_t bend) {
    AuditionEvent e = Event(AuditionEventType::PitchBend);
    e.bend = bend;
    return e;
}

AuditionEvent Mode(float from, float to, float seconds = 2.0f, bool pingPong = false,
                   AuditionSource source = AuditionSource::Table) {
    AuditionEvent e = Event(AuditionEventType::SetPlayMode);
    e.mode.source = source;
    e.mode.from = from;
    e.mode.to = to;
    e.mode.seconds = seconds;
    e.mode.pingPong = pingPong;
    return e;
}

// `frames` frames of the left channel; the right one must be the same.
std::vector<float> Render(AuditionEngine& engine, const AuditionMaterial* material, int frames) {
    std::vector<float> stereo(2 * static_cast<size_t>(frames));
    AuditionRender(engine, material, stereo.data(), frames);
    std::vector<float> left(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        left[static_cast<size_t>(i)] = stereo[2 * static_cast<size_t>(i)];
        EXPECT_EQ(stereo[2 * static_cast<size_t>(i) + 1], left[static_cast<size_t>(i)]);
    }
    return left;
}

std::vector<float> Tail(const std::vector<float>& x, int from, int count) {
    return std::vector<float>(x.begin() + from, x.begin() + from + count);
}

float Peak(const std::vector<float>& x, int from, int to) {
    float peak = 0.0f;
    for (int i = from; i < to; ++i) peak = std::max(peak, std::fabs(x[static_cast<size_t>(i)]));
    return peak;
}

float LargestStep(const std::vector<float>& x) {
    float step = 0.0f;
    for (size_t i = 1; i < x.size(); ++i) step = std::max(step, std::fabs(x[i] - x[i - 1]));
    return step;
}

// The 7-term Blackman-Harris window: side lobes below -180 dB.
std::vector<double> Window(int n) {
    const double a[] = {0.27105140069342, 0.43329793923448, 0.21812299954311, 0.06592544638803,
                        0.01081174209837, 0.00077658482522, 0.00001388721735};
    std::vector<double> w(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double x = 2.0 * M_PI * i / n;
        double v = 0.0;
        for (int k = 0; k < 7; ++k) v += (k % 2 ? -a[k] : a[k]) * std::cos(k * x);
        w[static_cast<size_t>(i)] = v;
    }
    return w;
}

// |sum x w e^(-i 2 pi hz t)| in double.
double ComponentAt(const std::vector<float>& x, const std::vector<double>& w, double hz) {
    const std::complex<double> turn = std::polar(1.0, -2.0 * M_PI * hz / Rate);
    std::complex<double> z = 1.0;
    std::complex<double> sum = 0.0;
    for (size_t i = 0; i < x.size(); ++i) {
        sum += z * (x[i] * w[i]);
        z *= turn;
    }
    return std::abs(sum);
}

double Db(double ratio) { return 20.0 * std::log10(ratio); }

// Harmonic h of a frame relative to its fundamental, h = 1 .. 512.
std::vector<double> FrameLevels(const float* frame) {
    std::vector<double> levels(SamplesPerFrame / 2 + 1, 0.0);
    std::vector<double> amplitude(levels.size());
    for (size_t h = 1; h < levels.size(); ++h) {
        std::complex<double> sum = 0.0;
        for (int n = 0; n < SamplesPerFrame; ++n)
            sum += std::polar(static_cast<double>(frame[n]), -2.0 * M_PI * h * n / SamplesPerFrame);
        amplitude[h] = std::abs(sum);
    }
    for (size_t h = 1; h < levels.size(); ++h) levels[h] = amplitude[h] / amplitude[1];
    return levels;
}

constexpr double Holds = 1e-4;    // -80 dB: a harmonic the frame holds
constexpr double HoldsNot = 1e-5; // -100 dB: one it does not
constexpr double Clean = -90.0;   // dB under the fundamental
constexpr double AnyBand = 8.0;   // Hz either side of a harmonic: its window lobe

// One second of a held note at f0 against the frame's harmonic levels: the
// harmonics up to 0.4 x rate / f0 at the frame's levels within 0.1 dB, and
// every harmonic the frame does not hold and everything between harmonics at
// least 90 dB under the fundamental.
void ExpectCleanSpectrum(const std::vector<float>& second, double f0,
                         const std::vector<double>& frame) {
    const std::vector<double> w = Window(Second);
    const double fundamental = ComponentAt(second, w, f0);
    const int kept = std::min(511, static_cast<int>(0.4 * Rate / f0));
    for (int h = 1; h * f0 < Rate / 2; ++h) {
        const double held = h < static_cast<int>(frame.size()) ? frame[static_cast<size_t>(h)] : 0;
        if (held < HoldsNot || (h <= kept && held >= Holds)) {
            const double level = ComponentAt(second, w, h * f0) / fundamental;
            if (held >= Holds)
                EXPECT_NEAR(Db(level / held), 0.0, 0.1) << "f0 " << f0 << " harmonic " << h;
            else
                EXPECT_LT(Db(level), Clean) << "f0 " << f0 << " harmonic " << h;
        }
    }
    // Everything else, from a transform padded to half-hertz bins.
    const int n = 2 * Second;
    std::vector<double> in(static_cast<size_t>(n), 0.0);
    for (int i = 0; i < Second; ++i)
        in[static_cast<size_t>(i)] = second[static_cast<size_t>(i)] * w[static_cast<size_t>(i)];
    std::vector<fftw_complex> out(static_cast<size_t>(n / 2 + 1));
    const fftw_plan plan = fftw_plan_dft_r2c_1d(n, in.data(), out.data(), FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    double worst = -400.0;
    double worstHz = 0.0;
    for (int k = 0; k <= n / 2; ++k) {
        const double hz = 0.5 * k;
        if (std::fabs(hz - std::round(hz / f0) * f0) <= AnyBand) continue;
        const double level = Db(std::hypot(out[k][0], out[k][1]) / fundamental);
        if (level > worst) {
            worst = level;
            worstHz = hz;
        }
    }
    EXPECT_LT(worst, Clean) << "f0 " << f0 << " at " << worstHz << " Hz";
}

double NoteHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// The frequency of the strongest component near `guess`, by golden section.
double PeakHz(const std::vector<float>& x, double guess) {
    const std::vector<double> w = Window(static_cast<int>(x.size()));
    double lo = guess - 3.0;
    double hi = guess + 3.0;
    const double g = 0.5 * (std::sqrt(5.0) - 1.0);
    while (hi - lo > 1e-5) {
        const double a = hi - g * (hi - lo);
        const double b = lo + g * (hi - lo);
        if (ComponentAt(x, w, a) > ComponentAt(x, w, b))
            hi = b;
        else
            lo = a;
    }
    return 0.5 * (lo + hi);
}

double Cents(double hz, double reference) { return 1200.0 * std::log2(hz / reference); }

const int Settle = Second / 20; // attack and level fade long over

} // namespace

TEST(AuditionSpectrum, SawNotesKeepTheirHarmonicsAndNothingElse) {
    GenerateOnAllFrames(CmdSaw);
    const std::vector<double> frame = FrameLevels(FrameAt(0));
    ASSERT_LT(frame[300], HoldsNot); // the saw stops below 256
    const Material material = EditorMaterial();
    for (int note : {21, 45, 69, 93, 108}) {
        AuditionEngine engine;
        AuditionReset(engine, Rate);
        AuditionApply(engine, Mode(0.0f, 0.0f));
        AuditionApply(engine, NoteOn(static_cast<uint8_t>(note)));
        const std::vector<float> x = Render(engine, material.get(), Settle + Second);
        ExpectCleanSpectrum(Tail(x, Settle, Second), NoteHz(note), frame);
    }
}

TEST(AuditionSpectrum, ABentNoteDropsTheHarmonicsThatWouldAlias) {
    GenerateOnAllFrames(CmdSaw);
    const std::vector<double> frame = FrameLevels(FrameAt(0));
    const Material material = EditorMaterial();
    AuditionEngine engine;
    AuditionReset(engine, Rate);
    AuditionApply(engine, NoteOn(106)); // 3729 Hz: harmonic 6 fits, 2 semitones up it does not
    Render(engine, material.get(), Settle);
    AuditionApply(engine, Bend(8191));
    const std::vector<float> x = Render(engine, material.get(), Settle + Second);
    ExpectCleanSpectrum(Tail(x, Settle, Second), NoteHz(108), frame);
}

TEST(AuditionSweep, TheThirdHarmonicRisesSmoothlyFromSineToSquare) {
    SineToSquareTable();
    const Material material = EditorMaterial();
    AuditionEngine engine;
    AuditionReset(engine, Rate);
    AuditionApply(engine, Mode(0.0f, 99.0f, 4.0f));
    AuditionApply(engine, NoteOn(81)); // A5, 880 Hz
    const std::vector<float> x = Render(engine, material.get(), 4 * Second + Second / 10);
    const int span = Second / 25; // 40 ms windows
    const std::vector<double> w = Window(span);
    auto third = [&](int centre) {
        return ComponentAt(Tail(x, centre - span / 2, span), w, 3 * 880.0);
    };
    const double last = third(4 * Second + Second / 20);
    double before = third(Second / 40);
    EXPECT_LT(before, 0.01 * last);
    for (int t = Second / 40 + Second / 200; t <= 4 * Second - Second / 40; t += Second / 200) {
        const double now = third(t);
        EXPECT_GT(now, before) << "at " << t << " samples";
        EXPECT_LT(now - before, 0.004 * last) << "at " << t << " samples";
        before = now;
    }
}

TEST(AuditionSweep, PingPongComesBackAndTheModWheelHoldsItsPoint) {
    SineToSquareTable();
    const Material material = EditorMaterial();
    const std::vector<double> w = Window(Second / 25);
    auto thirdAfter = [&](AuditionEngine& engine, int frames) {
        const std::vector<float> x = Render(engine, material.get(), frames);
        return ComponentAt(Tail(x, frames - Second / 25, Second / 25), w, 3 * 880.0);
    };
    AuditionEngine engine;
    AuditionReset(engine, Rate);
    AuditionApply(engine, Mode(99.0f, 99.0f));
    AuditionApply(engine, NoteOn(81));
    const double square = thirdAfter(engine, Second / 10);

    AuditionReset(engine, Rate);
    AuditionApply(engine, Mode(0.0f, 99.0f, 0.5f, true));
    AuditionApply(engine, NoteOn(81));
    EXPECT_NEAR(thirdAfter(engine, Second / 2 + Second / 50), square, 0.03 * square);
    EXPECT_LT(thirdAfter(engine, Second / 2), 0.05 * square); // back at the sine at 1 s

    for (auto [wheel, share] : {std::pair{64, 63.0 / 126.0}, std::pair{127, 1.0}}) {
        AuditionReset(engine, Rate);
        AuditionApply(engine, Mode(0.0f, 99.0f, 0.5f, true));
        AuditionApply(engine, Controller(1, static_cast<uint8_t>(wheel)));
        AuditionApply(engine, NoteOn(81));
        EXPECT_NEAR(thirdAfter(engine, Second), share * square, 0.01 * square) << wheel;
    }
}

TEST(AuditionPitch, A4IsAt440HzAndTheBendReachesTwoSemitones) {
    GenerateOnAllFrames(CmdSine);
    const Material material = EditorMaterial();
    for (auto [bend, hz, cents] : {std::tuple{0, 440.0, 0.1}, std::tuple{8191, NoteHz(71), 1.0},
                                   std::tuple{-8192, NoteHz(67), 1.0}}) {
        AuditionEngine engine;
        AuditionReset(engine, Rate);
        AuditionApply(engine, Bend(static_cast<int16_t>(bend)));
        AuditionApply(engine, NoteOn(69));
        const std::vector<float> x = Render(engine, material.get(), Settle + Second);
        EXPECT_NEAR(Cents(PeakHz(Tail(x, Settle, Second), hz), hz), 0.0, cents) << bend;
    }
}

TEST(AuditionPitch, NoteA4PlaysThePadAtThePitchItWasMadeFor) {
    FreshEditor();
    const int bin = 1308; // 440.1 Hz at 44100 Hz
    for (int n = 0; n < PadwaveSamples; ++n)
        PadwaveBuffer[n] =
            0.3f * std::sin(2.0f * Pi * static_cast<float>(bin * n % PadwaveSamples) /
                            static_cast<float>(PadwaveSamples));
    const Material material = EditorMaterial();
    const double hz = bin * 44100.0 / PadwaveSamples;
    AuditionEngine engine;
    AuditionReset(engine, Rate);
    AuditionApply(engine, Mode(0.0f, 0.0f, 2.0f, false, AuditionSource::Pad));
    AuditionApply(engine, NoteOn(69));
    const std::vector<float> x = Render(engine, material.get(), Settle + Second);
    EXPECT_NEAR(Cents(PeakHz(Tail(x, Settle, Second), hz), hz), 0.0, 0.1);
    EXPECT_NEAR(Peak(x, Settle, Settle + Second), 0.25f * 0.3f, 0.002f);
}

namespace {

// A cosine frame starts at its peak, so a note that began or ended at once
// would jump by its whole level.
void CosineTable() {
    FreshEditor();
    for (int f = 0; f < FrameCount; ++f)
        for (int n = 0; n < SamplesPerFrame; ++n)
            FrameAt(f)[n] = std::cos(2.0f * Pi * static_cast<float>(n) / SamplesPerFrame);
}

} // namespace

TEST(AuditionEnvelope, NotesRiseWithin5MsAndFade150MsWithoutAClick) {
    CosineTable();
    const Material material = EditorMaterial();
    AuditionEngine engine;
    AuditionReset(engine, Rate);
    AuditionApply(engine, NoteOn(60));
    std::vector<float> x = Render(engine, material.get(), Second / 5);
    AuditionApply(engine, NoteOff(60));
    const std::vector<float> tail = Render(engine, material.get(), Second / 4);
    x.insert(x.end(), tail.begin(), tail.end());
    const int ms = Second / 1000;
    const int off = Second / 5;
    EXPECT_NEAR(Peak(x, 5 * ms, 10 * ms), 0.25f, 0.001f); // full after 5 ms
    const float steady = LargestStep(Tail(x, 50 * ms, 50 * ms));
    EXPECT_LT(LargestStep(x), 1.05f * steady);
    EXPECT_GT(Peak(x, off + 130 * ms, off + 140 * ms), 0.005f); // still fading
    EXPECT_EQ(Peak(x, off + 151 * ms, off + 250 * ms), 0.0f);
    EXPECT_EQ(engine.voices[0].stage, AuditionStage::Idle);
}

TEST(AuditionEnvelope, VelocityScalesOneNoteLinearly) {
    GenerateOnAllFrames(CmdSquare);
    const Material material = EditorMaterial();
    std::vector<float> notes[2];
    for (int v : {0, 1}) {
        AuditionEngine engine;
        AuditionReset(engine, Rate);
        AuditionApply(engine, NoteOn(40, v ? 127 : 64));
        notes[v] = Render(engine, material.get(), Second / 10);
    }
    for (size_t i = 0; i < notes[0].size(); ++i)
        ASSERT_NEAR(notes[0][i], notes[1][i] * 64.0f / 127.0f, 1e-6f) << i;
}

TEST(AuditionVoices, SixteenLoudNotesStayInsideFullScale) {
    GenerateOnAllFrames(CmdSquare);
    const Material material = EditorMaterial();
    AuditionEngine engine;
    AuditionReset(engine, Rate);
    for (int i = 0; i < AuditionVoiceCount; ++i)
        AuditionApply(engine, NoteOn(static_cast<uint8_t>(36 + 3 * i)));
    const std::vector<float> x = Render(engine, material.get(), Second / 2);
    EXPECT_LT(Peak(x, 0, Second / 2), 1.0f);
    EXPECT_GT(Peak(x, 0, Second / 2), 0.6f); // the limit bent them, it did not mute them
}

TEST(AuditionVoices, TheSeventeenthNoteTakesTheOldestVoice) {
    GenerateOnAllFrames(CmdSine);
    const Material material = EditorMaterial();
    AuditionEngine engine;
    AuditionReset(engine, Rate);
    for (int i = 0; i < AuditionVoiceCount; ++i) {
        AuditionApply(engine, NoteOn(static_cast<uint8_t>(40 + i)));
        Render(engine, material.get(), 64);
    }
    AuditionApply(engine, NoteOn(90));
    Render(engine, material.get(), Second / 100);
    int sounding90 = 0;
    for (const AuditionVoice& voice : engine.voices) {
        EXPECT_NE(voice.note, 40);
        EXPECT_NE(voice.stage, AuditionStage::Idle);
        if (voice.note == 90) ++sounding90;
    }
    EXPECT_EQ(sounding90, 1);
    // With one note released, that one gives way instead.
    AuditionApply(engine, NoteOff(50));
    AuditionApply(engine, NoteOn(91));
    Render(engine, material.get(), Second / 100);
    for (const AuditionVoice& voice : engine.voices) {
        EXPECT_NE(voice.note, 50);
        EXPECT_NE(voice.note, 40);
    }
}

TEST(AuditionControllers, SustainHoldsAndTheOffControllersEndNotes) {
    CosineTable();
    const Material material = EditorMaterial();
    const int ms = Second / 1000;
    AuditionEngine engine;
    AuditionReset(engine, Rate);
    AuditionApply(engine, Controller(64, 127));
    AuditionApply(engine, NoteOn(60));
    AuditionApply(engine, NoteOff(60));
    EXPECT_NEAR(Peak(Render(engine, material.get(), 300 * ms), 290 * ms, 300 * ms), 0.25f, 0.001f);
    AuditionApply(engine, Controller(64, 0));
    EXPECT_EQ(Peak(Render(engine, material.get(), 200 * ms), 160 * ms, 200 * ms), 0.0f);

    AuditionApply(engine, NoteOn(60));
    Render(engine, material.get(), 50 * ms);
    AuditionApply(engine, Controller(123, 0)); // all notes off: the release
    std::vector<float> x = Render(engine, material.get(), 200 * ms);
    EXPECT_GT(Peak(x, 100 * ms, 110 * ms), 0.01f);
    EXPECT_EQ(Peak(x, 160 * ms, 200 * ms), 0.0f);

    AuditionApply(engine, NoteOn(60));
    const float steady = LargestStep(Render(engine, material.get(), 50 * ms));
    AuditionApply(engine, Controller(120, 0)); // all sound off: at once, without a click
    x = Render(engine, material.get(), 10 * ms);
    EXPECT_LT(LargestStep(x), 1.05f * steady);
    EXPECT_EQ(Peak(x, 3 * ms, 10 * ms), 0.0f);
}

TEST(AuditionMaterial, ARebuildSharesTheUnchangedFramesAndSoundsAsAFreshOne) {
    SineToSquareTable();
    Material first = EditorMaterial();
    FrameAt(40)[7] = 0.5f;
    Material second = EditorMaterial(first.get());
    EXPECT_EQ(second->frames[39].get(), first->frames[39].get());
    EXPECT_NE(second->frames[40].get(), first->frames[40].get());
    EXPECT_EQ(second->pad.get(), first->pad.get());
    first.reset(); // what the second shares outlives the first
    const Material fresh = EditorMaterial();
    std::vector<float> played[2];
    for (int m : {0, 1}) {
        AuditionEngine engine;
        AuditionReset(engine, Rate);
        AuditionApply(engine, Mode(35.0f, 45.0f, 0.05f, true));
        AuditionApply(engine, NoteOn(57));
        played[m] = Render(engine, m ? fresh.get() : second.get(), Second / 10);
    }
    EXPECT_EQ(played[0], played[1]);
    EXPECT_LT(AuditionMaterialBytes(fresh.get()), 32 << 20);
}

TEST(AuditionMaterial, EveryPitchKeepsItsHarmonicsUpTo042OfTheRateAndNoneAbove) {
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

TEST(AuditionMaterial, ASampleThatIsNotANumberPlaysAsSilence) {
    GenerateOnAllFrames(CmdSaw);
    FrameAt(0)[100] = NAN;
    FrameAt(0)[200] = INFINITY;
    const Material material = EditorMaterial();
    AuditionEngine engine;
    AuditionReset(engine, Rate);
    AuditionApply(engine, NoteOn(60));
    const std::vector<float> x = Render(engine, material.get(), Second / 10);
    for (float s : x) ASSERT_TRUE(std::isfinite(s));
    EXPECT_GT(Peak(x, 0, Second / 10), 0.1f);
}

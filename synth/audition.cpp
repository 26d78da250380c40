// The audition's voices: MIDI-like events in, stereo blocks out, read from the
// band-limited material that the GUI side publishes.
#include "synth/audition.h"

#include <algorithm>
#include <cmath>

#include "synth/audition_material.h"

namespace {

// One note at velocity 127 plays its wave at a quarter of its sample values
// (-12 dB); the sum passes unchanged up to the knee and is bent smoothly
// towards, never past, full scale above it.
constexpr float NoteLevel = 0.25f;
constexpr float LimitKnee = 0.5f;
constexpr float AttackSeconds = 0.003f;
constexpr float ReleaseSeconds = 0.15f;
// A stolen voice and All Sound Off fade this fast, too fast to hear as a
// fade and slow enough not to click.
constexpr float FadeSeconds = 0.002f;
// A note whose band-limit level changes (the pitch bent) crossfades the two.
constexpr float LevelFadeSeconds = 0.005f;
// The position follows a sweep exactly, and a jump (a knob, the mod wheel)
// across the whole table in this time.
constexpr float SlewSeconds = 0.02f;
constexpr float LastFrame = static_cast<float>(FrameCount - 1);
// The pad is one 131072-sample cycle at 44100 Hz made for 440 Hz.
constexpr float PadCyclesPerNoteHz = 44100.0f / static_cast<float>(PadwaveSamples) / 440.0f;
constexpr float TwoTo64 = 18446744073709551616.0f;
constexpr float TwoToMinus63 = 1.0842022e-19f;
constexpr uint64_t SweepLeg = uint64_t{1} << 63;
constexpr int ChunkFrames = 256;

float BendSemitones(int16_t bend) {
    return bend >= 0 ? 2.0f * static_cast<float>(bend) / 8191.0f
                     : 2.0f * static_cast<float>(bend) / 8192.0f;
}

const AuditionLadder& LadderOf(AuditionSource source) {
    return source == AuditionSource::Pad ? PadLadder() : FrameLadder();
}

// The voice's cycle frequency in Hz: the note's own for a frame, the pad
// loop's for the pad.
float CycleHz(const AuditionEngine& engine, const AuditionVoice& voice) {
    const float semitones = static_cast<float>(voice.note) - 69.0f + BendSemitones(engine.bend);
    const float hz = 440.0f * std::exp2(semitones / 12.0f);
    return voice.source == AuditionSource::Pad ? hz * PadCyclesPerNoteHz : hz;
}

uint64_t PhaseStep(float cycleHz, float sampleRate) {
    const float ratio = std::min(cycleHz / sampleRate, 0.5f);
    return static_cast<uint64_t>(ratio * TwoTo64);
}

uint64_t SweepStep(const AuditionEngine& engine) {
    const float samples = engine.mode.seconds * engine.sampleRate;
    return static_cast<uint64_t>(static_cast<float>(SweepLeg) / std::max(samples, 1.0f));
}

// Where a voice's sweep puts it: the mod wheel's point of the range while the
// wheel is up, else `from` .. `to` (and back, in ping-pong).
float SweepTarget(const AuditionEngine& engine, uint64_t sweep) {
    const AuditionPlayMode& mode = engine.mode;
    float along;
    if (engine.modWheel > 0) {
        along = static_cast<float>(engine.modWheel - 1) / 126.0f;
    } else {
        const float u = static_cast<float>(sweep) * TwoToMinus63;
        along = u <= 1.0f ? u : 2.0f - u;
    }
    return std::clamp(mode.from + along * (mode.to - mode.from), 0.0f, LastFrame);
}

void StartSound(const AuditionEngine& engine, AuditionVoice& voice, uint8_t velocity) {
    voice.note = voice.key;
    voice.source = engine.mode.source;
    voice.stage = AuditionStage::Attack;
    voice.gain = NoteLevel * static_cast<float>(velocity) / 127.0f;
    voice.envelope = 0.0f;
    voice.envelopeStep = 1.0f / (AttackSeconds * engine.sampleRate);
    voice.phase = 0;
    voice.sweep = 0;
    voice.position = SweepTarget(engine, 0);
    voice.level = static_cast<int8_t>(
        ChooseLevel(LadderOf(voice.source), CycleHz(engine, voice), engine.sampleRate));
    voice.fadingLevel = -1;
    voice.levelFade = 0.0f;
    voice.nextVelocity = 0;
}

// Ramps the envelope from where it is to 0 in `seconds`.
void FadeOut(const AuditionEngine& engine, AuditionVoice& voice, AuditionStage stage,
             float seconds) {
    if (voice.stage == AuditionStage::Idle) return;
    voice.stage = stage;
    voice.envelopeStep = std::max(voice.envelope, 1e-6f) / (seconds * engine.sampleRate);
}

void Release(const AuditionEngine& engine, AuditionVoice& voice) {
    if (voice.stage == AuditionStage::Attack || voice.stage == AuditionStage::Hold)
        FadeOut(engine, voice, AuditionStage::Release, ReleaseSeconds);
}

// A free voice, else the oldest one already released, else the oldest.
AuditionVoice& VoiceForNewNote(AuditionEngine& engine) {
    AuditionVoice* oldestReleased = nullptr;
    AuditionVoice* oldest = nullptr;
    for (AuditionVoice& voice : engine.voices) {
        if (voice.stage == AuditionStage::Idle) return voice;
        const bool released = !voice.held && !voice.sustained;
        if (released && (oldestReleased == nullptr || voice.age < oldestReleased->age))
            oldestReleased = &voice;
        if (oldest == nullptr || voice.age < oldest->age) oldest = &voice;
    }
    return oldestReleased != nullptr ? *oldestReleased : *oldest;
}

void NoteOn(AuditionEngine& engine, uint8_t note, uint8_t velocity) {
    AuditionVoice& voice = VoiceForNewNote(engine);
    const bool silent = voice.stage == AuditionStage::Idle;
    voice.key = note;
    voice.held = true;
    voice.sustained = false;
    voice.age = engine.nextAge++;
    if (silent) {
        StartSound(engine, voice, velocity);
    } else {
        FadeOut(engine, voice, AuditionStage::Fade, FadeSeconds);
        voice.nextVelocity = velocity;
    }
}

void NoteOff(AuditionEngine& engine, uint8_t note) {
    for (AuditionVoice& voice : engine.voices) {
        if (voice.key != note || !voice.held) continue;
        voice.held = false;
        if (engine.sustain)
            voice.sustained = true;
        else
            Release(engine, voice);
    }
}

// All Notes Off releases every note; All Sound Off (`atOnce`) fades them in 2 ms.
void EndEveryNote(AuditionEngine& engine, bool atOnce) {
    for (AuditionVoice& voice : engine.voices) {
        voice.held = false;
        voice.sustained = false;
        voice.nextVelocity = 0;
        if (atOnce)
            FadeOut(engine, voice, AuditionStage::Fade, FadeSeconds);
        else
            Release(engine, voice);
    }
}

void Control(AuditionEngine& engine, uint8_t controller, uint8_t value) {
    switch (controller) {
    case 1:
        engine.modWheel = std::min<uint8_t>(value, 127);
        break;
    case 64:
        engine.sustain = value >= 64;
        if (!engine.sustain) {
            for (AuditionVoice& voice : engine.voices) {
                if (!voice.sustained) continue;
                voice.sustained = false;
                Release(engine, voice);
            }
        }
        break;
    case 120:
        EndEveryNote(engine, true);
        break;
    case 123:
        EndEveryNote(engine, false);
        break;
    default:
        break;
    }
}

float ClampFrame(float frame) {
    if (!(frame >= 0.0f)) return 0.0f; // negative or not a number
    return std::min(frame, LastFrame);
}

AuditionPlayMode SaneMode(const AuditionPlayMode& mode) {
    AuditionPlayMode sane = mode;
    sane.from = ClampFrame(mode.from);
    sane.to = ClampFrame(mode.to);
    sane.seconds = mode.seconds >= 0.001f ? mode.seconds : 0.001f; // also not a number
    return sane;
}

// Where a phase falls in a cycle of `size` coefficients: the coefficient
// before it and the fraction past it.
struct TablePoint {
    uint32_t index;
    float fraction;
};

TablePoint PointIn(uint64_t phase, uint32_t size) {
    // phase x size / 2^64 with 32 fractional bits, in two 64-bit products.
    const uint64_t high = (phase >> 32) * size;
    const uint64_t low = ((phase & 0xFFFFFFFFu) * size) >> 32;
    const uint64_t point = high + low;
    return {static_cast<uint32_t>(point >> 32),
            static_cast<float>(static_cast<uint32_t>(point)) * 2.3283064e-10f};
}

// The quintic B-spline's six weights at fraction t. The spline is symmetric:
// the weights at 1 - t are those at t in reverse order.
struct Weights {
    float w[6];
};

float OuterWeight(float x) {
    const float x2 = x * x;
    return x2 * x2 * x;
}

float NearWeight(float x) {
    return 26.0f + x * (-50.0f + x * (20.0f + x * (20.0f + x * (-20.0f + x * 5.0f))));
}

float MiddleWeight(float x) {
    const float x2 = x * x;
    return 66.0f + x2 * (-60.0f + x2 * (30.0f - 10.0f * x));
}

Weights SplineWeights(float t) {
    constexpr float Scale = 1.0f / 120.0f;
    const float u = 1.0f - t;
    return {{OuterWeight(u) * Scale, NearWeight(t) * Scale, MiddleWeight(t) * Scale,
             MiddleWeight(u) * Scale, NearWeight(u) * Scale, OuterWeight(t) * Scale}};
}

// One level of one or two waves at a phase: wave `a`, crossfaded by `mix`
// towards wave `b` (null: a alone).
float LevelSample(const float* a, const float* b, float mix, uint32_t size, uint64_t phase) {
    const TablePoint point = PointIn(phase, size);
    const Weights weights = SplineWeights(point.fraction);
    const float* pa = a + point.index;
    float sa = 0.0f;
    for (int i = 0; i < 6; ++i) sa = sa + weights.w[i] * pa[i];
    if (b == nullptr) return sa;
    const float* pb = b + point.index;
    float sb = 0.0f;
    for (int i = 0; i < 6; ++i) sb = sb + weights.w[i] * pb[i];
    return sa + mix * (sb - sa);
}

// The two waves a voice reads: the frames either side of its position (or
// its one wave) and the crossfade between them.
struct VoiceWaves {
    const float* a = nullptr;
    const float* b = nullptr;
    float mix = 0.0f;
};

VoiceWaves WavesAt(const AuditionMaterial& material, const AuditionVoice& voice) {
    VoiceWaves waves;
    if (voice.source == AuditionSource::Additive) {
        waves.a = material.additive->data.data();
    } else if (voice.source == AuditionSource::Pad) {
        waves.a = material.pad->data.data();
    } else {
        const int first = std::min(static_cast<int>(voice.position), FrameCount - 2);
        waves.mix = voice.position - static_cast<float>(first);
        waves.a = material.frames[first]->data.data();
        if (waves.mix > 0.0f) waves.b = material.frames[first + 1]->data.data();
    }
    return waves;
}

float VoiceSample(const AuditionMaterial* material, const AuditionLadder& ladder,
                  const AuditionVoice& voice) {
    if (material == nullptr) return 0.0f;
    const VoiceWaves waves = WavesAt(*material, voice);
    auto level = [&](int k) {
        if (k < 0) return 0.0f;
        const int64_t offset = ladder.offset[k];
        return LevelSample(waves.a + offset, waves.b ? waves.b + offset : nullptr, waves.mix,
                           static_cast<uint32_t>(ladder.size[k]), voice.phase);
    };
    const float now = level(voice.level);
    if (voice.fadingLevel < 0) return now;
    return now + voice.levelFade * (level(voice.fadingLevel) - now);
}

enum class EnvelopeStep { Going, Ended, Restarted };

// Moves the envelope one sample on. A stolen voice that has faded starts its
// next note.
EnvelopeStep StepEnvelope(const AuditionEngine& engine, AuditionVoice& voice) {
    switch (voice.stage) {
    case AuditionStage::Attack:
        voice.envelope = voice.envelope + voice.envelopeStep;
        if (voice.envelope >= 1.0f) {
            voice.envelope = 1.0f;
            voice.stage = AuditionStage::Hold;
        }
        return EnvelopeStep::Going;
    case AuditionStage::Release:
    case AuditionStage::Fade:
        voice.envelope = voice.envelope - voice.envelopeStep;
        if (voice.envelope > 0.0f) return EnvelopeStep::Going;
        voice.envelope = 0.0f;
        if (voice.stage == AuditionStage::Fade && voice.nextVelocity > 0 && voice.held) {
            StartSound(engine, voice, voice.nextVelocity);
            return EnvelopeStep::Restarted;
        }
        voice.stage = AuditionStage::Idle;
        return EnvelopeStep::Ended;
    case AuditionStage::Hold:
        return EnvelopeStep::Going;
    case AuditionStage::Idle:
        return EnvelopeStep::Ended;
    }
    return EnvelopeStep::Ended;
}

// Chooses the band-limit level for the voice's pitch now; a change crossfades.
void FollowPitch(const AuditionEngine& engine, AuditionVoice& voice) {
    const auto level = static_cast<int8_t>(
        ChooseLevel(LadderOf(voice.source), CycleHz(engine, voice), engine.sampleRate));
    if (level == voice.level) return;
    voice.fadingLevel = voice.level;
    voice.levelFade = 1.0f;
    voice.level = level;
}

void RenderVoice(const AuditionEngine& engine, AuditionVoice& voice,
                 const AuditionMaterial* material, float* mix, int frames) {
    FollowPitch(engine, voice);
    const float levelFadeStep = 1.0f / (LevelFadeSeconds * engine.sampleRate);
    const float slew = LastFrame / (SlewSeconds * engine.sampleRate);
    const uint64_t sweepStep = SweepStep(engine);
    uint64_t phaseStep = PhaseStep(CycleHz(engine, voice), engine.sampleRate);
    const AuditionLadder* ladder = &LadderOf(voice.source);
    for (int i = 0; i < frames; ++i) {
        mix[i] = mix[i] + VoiceSample(material, *ladder, voice) * voice.envelope * voice.gain;
        const EnvelopeStep step = StepEnvelope(engine, voice);
        if (step == EnvelopeStep::Ended) return;
        if (step == EnvelopeStep::Restarted) {
            // Its next note begins at the start of its cycle and its sweep.
            phaseStep = PhaseStep(CycleHz(engine, voice), engine.sampleRate);
            ladder = &LadderOf(voice.source);
            continue;
        }
        voice.phase = voice.phase + phaseStep;
        if (voice.fadingLevel >= 0) {
            voice.levelFade = voice.levelFade - levelFadeStep;
            if (voice.levelFade <= 0.0f) voice.fadingLevel = -1;
        }
        if (voice.source != AuditionSource::Table) continue; // only frames sweep
        if (engine.mode.pingPong)
            voice.sweep = voice.sweep + sweepStep;
        else
            voice.sweep = std::min(voice.sweep, SweepLeg - sweepStep) + sweepStep;
        const float target = SweepTarget(engine, voice.sweep);
        voice.position = voice.position + std::clamp(target - voice.position, -slew, slew);
    }
}

float SoftLimit(float x) {
    const float a = std::fabs(x);
    if (a <= LimitKnee) return x;
    if (!(a < INFINITY)) return a == INFINITY ? std::copysign(1.0f, x) : 0.0f;
    const float room = 1.0f - LimitKnee;
    return std::copysign(LimitKnee + room * std::tanh((a - LimitKnee) / room), x);
}

} // namespace

void AuditionReset(AuditionEngine& engine, float sampleRate) {
    engine = AuditionEngine();
    engine.sampleRate = sampleRate > 0.0f ? sampleRate : 48000.0f;
}

void AuditionApply(AuditionEngine& engine, const AuditionEvent& event) {
    switch (event.type) {
    case AuditionEventType::NoteOn:
        if (event.note > 127) break;
        if (event.value == 0)
            NoteOff(engine, event.note);
        else
            NoteOn(engine, event.note, std::min<uint8_t>(event.value, 127));
        break;
    case AuditionEventType::NoteOff:
        NoteOff(engine, event.note);
        break;
    case AuditionEventType::PitchBend:
        engine.bend = std::clamp<int16_t>(event.bend, -8192, 8191);
        break;
    case AuditionEventType::Control:
        Control(engine, event.note, event.value);
        break;
    case AuditionEventType::AllNotesOff:
        EndEveryNote(engine, false);
        break;
    case AuditionEventType::AllSoundOff:
        EndEveryNote(engine, true);
        break;
    case AuditionEventType::SetPlayMode:
        engine.mode = SaneMode(event.mode);
        break;
    }
}

bool AuditionSilent(const AuditionEngine& engine) {
    return std::all_of(
        std::begin(engine.voices), std::end(engine.voices),
        [](const AuditionVoice& voice) { return voice.stage == AuditionStage::Idle; });
}

void AuditionRender(AuditionEngine& engine, const AuditionMaterial* material, float* out,
                    int frames) {
    float mix[ChunkFrames];
    for (int done = 0; done < frames;) {
        const int n = std::min(ChunkFrames, frames - done);
        std::fill(mix, mix + n, 0.0f);
        for (AuditionVoice& voice : engine.voices)
            if (voice.stage != AuditionStage::Idle) RenderVoice(engine, voice, material, mix, n);
        for (int i = 0; i < n; ++i) {
            const float y = SoftLimit(mix[i]);
            out[2 * (done + i)] = y;
            out[2 * (done + i) + 1] = y;
        }
        done += n;
    }
}

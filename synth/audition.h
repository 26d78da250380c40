// The audition: a small wavetable synthesizer that plays the document's table,
// additive frame or pad from MIDI-like events. It renders from an immutable,
// band-limited copy of the material (AuditionMaterial) that the GUI side builds
// and hands over by pointer; the engine state is plain fixed-size data, so
// rendering never allocates, locks or reads the editor's globals.
#pragma once

#include <cstdint>

#include "platform/audition_events.h"

constexpr int AuditionVoiceCount = 16;

// Immutable, band-limited copy of everything a note can play: all 100 table
// frames, the additive frame and the pad. Built on the GUI side, read by the
// audio thread, freed only by the GUI side once the audio thread can no longer
// be reading it.
struct AuditionMaterial;

// Builds the whole material from a table (100 x 1024 samples), an additive
// frame (1024) and a pad (131072). `previous` (may be null) lends the work of
// every part whose samples did not change: the two materials then share that
// part, which lives until the last material holding it is freed, so
// `previous` may be freed at any time before or after the new one. Returns
// null only when memory runs out.
AuditionMaterial* BuildAuditionMaterial(const float* table, const float* additiveFrame,
                                        const float* pad, const AuditionMaterial* previous);
void FreeAuditionMaterial(AuditionMaterial* material);
// True when `material` was built from exactly these samples (false for null).
bool AuditionMaterialMatches(const AuditionMaterial* material, const float* table,
                             const float* additiveFrame, const float* pad);
// The bytes the material holds (its shared parts counted whole).
int64_t AuditionMaterialBytes(const AuditionMaterial* material);

// One voice: what it plays, where it is in its cycle and its sweep, and its
// envelope. Engine-private; the fields are here so that the engine is plain
// data of fixed size.
enum class AuditionStage : uint8_t { Idle, Attack, Hold, Release, Fade };
struct AuditionVoice {
    AuditionStage stage = AuditionStage::Idle;
    AuditionSource source = AuditionSource::Table;
    uint8_t key = 0;          // the key it answers to (a stolen voice's next note)
    uint8_t note = 0;         // the note it sounds
    bool held = false;        // key still down
    bool sustained = false;   // key up while the sustain pedal is down
    uint8_t nextVelocity = 0; // Fade: the velocity `key` starts with once faded (0: none)
    uint32_t age = 0;         // note-on order: smaller is older
    uint64_t phase = 0;       // position in the cycle, 2^64 a whole cycle
    uint64_t sweep = 0;       // position in the sweep, 2^63 from `from` to `to`
    float gain = 0.0f;        // from the velocity
    float envelope = 0.0f;    // 0 .. 1
    float envelopeStep = 0.0f;
    float position = 0.0f; // frame position, slewed towards the sweep's
    int8_t level = -1;     // band-limit level playing (-1: none fits)
    int8_t fadingLevel = -1;
    float levelFade = 0.0f; // 1 -> 0 while fadingLevel gives way to level
};

// The voices and controllers. No allocation after AuditionReset.
struct AuditionEngine {
    AuditionVoice voices[AuditionVoiceCount];
    AuditionPlayMode mode;
    float sampleRate = 48000.0f;
    int16_t bend = 0;
    uint8_t modWheel = 0; // CC 1
    bool sustain = false; // CC 64 >= 64
    uint32_t nextAge = 0;
};
void AuditionReset(AuditionEngine& engine, float sampleRate);
void AuditionApply(AuditionEngine& engine, const AuditionEvent& event);
// True when no voice sounds or fades any more.
bool AuditionSilent(const AuditionEngine& engine);
// Renders `frames` stereo frames (interleaved L R floats) into `out`,
// overwriting it. `material` may be null: silence, while the voices still
// advance their envelopes. The engine keeps no pointer to the material: once a
// call has returned, that material is not read again until it is passed again.
// A new material takes over at once, at the same point of every cycle.
void AuditionRender(AuditionEngine& engine, const AuditionMaterial* material, float* out,
                    int frames);

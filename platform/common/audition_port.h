// The audition's side of the sound output, shared by both backends: two
// lock-free event queues (one for the GUI thread, one for the MIDI thread), the
// published material and a counter of rendered blocks. The audio thread (or a
// test standing in for it) calls AuditionPortRender; it never waits for the
// other threads and never allocates.
#pragma once

#include <cstdint>

#include "platform/audition_events.h"
#include "platform/platform.h"

// The threads that send events, each with a queue of its own.
enum class AuditionSender { Gui, Midi };

// Events a queue holds; one sent to a full queue is dropped.
constexpr int AuditionQueueCapacity = 256;

// Sets the hooks the audio thread drives the engine through.
void AuditionPortInstall(const AuditionHooks& hooks);
// Starts the audition at `sampleRate`: empties both queues and resets the
// engine. Only while no block is being rendered.
void AuditionPortStart(float sampleRate);
bool AuditionPortSend(AuditionSender sender, const AuditionEvent& event);
// Swaps in `material` for the next block; returns the ticket of the material
// it replaced: once AuditionPortRetired(ticket), no block reads that any more.
uint64_t AuditionPortPublish(const AuditionMaterial* material);
// True once no block can read the material replaced when `ticket` was given.
bool AuditionPortRetired(uint64_t ticket);
// Applies the queued events, then renders `frames` stereo frames (interleaved)
// from the published material into `out`, and counts the block.
void AuditionPortRender(float* out, int frames);

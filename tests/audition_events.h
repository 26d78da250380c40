// The audition engine's material as an owner, and a play mode as an event.
#pragma once

#include <memory>

#include "synth/audition.h"
#include "synth/audition_material.h"

using Material = std::unique_ptr<AuditionMaterial, decltype(&FreeAuditionMaterial)>;

inline AuditionEvent Mode(float from, float to, float seconds = 2.0f, bool pingPong = false,
                          AuditionSource source = AuditionSource::Table) {
    return PlayModeEvent({source, from, to, seconds, pingPong});
}

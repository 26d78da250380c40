#include "synth/fill_gaps.h"

#include <cstdint>
#include <vector>

#include "core/editor_state.h"
#include "synth/frame_processes.h"
#include "synth/morph.h"
#include "synth/spectral_morph.h"

namespace {

// -0.0 is silence too; a NaN is not.
bool HasSound(int32_t frame) {
    const float* samples = Wavetable + frame * SamplesPerFrame;
    for (int32_t n = 0; n < SamplesPerFrame; ++n)
        if (samples[n] != 0.0f) return true;
    return false;
}

} // namespace

bool FillGaps(bool spectral) {
    int32_t first = 0;
    int32_t last = 0;
    EditFrames(first, last);
    std::vector<int32_t> keys;
    for (int32_t j = first; j <= last; ++j)
        if (HasSound(j)) keys.push_back(j);
    if (keys.size() < 2) return false;
    TakeUndoSnapshot();
    for (size_t i = 0; i + 1 < keys.size(); ++i) {
        if (keys[i + 1] - keys[i] < 2) continue;
        if (spectral)
            SpectralMorphBetween(keys[i], keys[i + 1]);
        else
            MorphBetween(keys[i], keys[i + 1]);
    }
    return true;
}

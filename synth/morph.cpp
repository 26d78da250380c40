#include "synth/morph.h"

#include <algorithm>
#include <cmath>

#include "core/editor_state.h"

void MorphFrames() {
    TakeUndoSnapshot();
    const int32_t lo = std::min(CurrentFrame, OffsetFrame);
    const int32_t hi = std::max(CurrentFrame, OffsetFrame);
    if (hi == lo) return;
    MorphBetween(lo, hi);
}

// Frame lo + t gets a +- t steps of |a - b| / d, each step one single-precision
// addition, so the fade is the running sum rather than one multiplication.
// Frame lo is not written, so even a -0.0 in it keeps its sign.
void MorphBetween(int32_t lo, int32_t hi) {
    const float d = static_cast<float>(hi - lo);
    for (int j = 0; j < SamplesPerFrame; ++j) {
        const float b = Wavetable[hi * SamplesPerFrame + j];
        const float inc = std::fabs((Wavetable[lo * SamplesPerFrame + j] - b) / d);
        float acc = inc;
        for (int32_t k = lo + 1; k < hi; ++k) {
            const float a = Wavetable[lo * SamplesPerFrame + j];
            Wavetable[k * SamplesPerFrame + j] = b > a ? a + acc : a - acc;
            acc = acc + inc;
        }
    }
}

#include "tests/literal_synth.h"

#include <cmath>

#include "core/editor_state.h"
#include "synth/generators.h"

void LiteralSynthesizeAdditive() {
    for (float& s : AdditiveFrame) s = 0.0f;
    float phase = -3.1415927f;
    for (int h = 1; h <= HarmonicCount; ++h) {
        const int period = SamplesPerFrame / h;
        const float step = 6.2831855f / static_cast<float>(period);
        const float weight = 1.0f - static_cast<float>(Harmonics[h - 1]) * 0.01f;
        for (int n = 0; n < SamplesPerFrame; ++n) {
            float v = static_cast<float>(std::sin(static_cast<double>(phase)));
            v = Polarity != 0 ? v * 0.35f : v * -0.35f;
            AdditiveFrame[n] = v * weight + AdditiveFrame[n];
            phase = step + phase;
        }
    }
    PeakNormalize(AdditiveFrame, SamplesPerFrame);
}

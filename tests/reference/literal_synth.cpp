#include "tests/reference/literal_synth.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/editor_state.h"
#include "core/random.h"
#include "core/sample_ops.h"
#include "synth/padwave.h"

void LiteralSynthesizeAdditive() {
    for (float& s : AdditiveFrame) s = 0.0f;
    float phase = -3.1415927f;
    for (int h = 1; h <= HarmonicCount; ++h) {
        const float step = 6.2831855f / static_cast<float>(SamplesPerFrame / h);
        const float weight = 1.0f - static_cast<float>(Harmonics[h - 1]) * 0.01f;
        for (int n = 0; n < SamplesPerFrame; ++n) {
            const float v = static_cast<float>(std::sin(static_cast<double>(phase))) *
                            (Polarity != 0 ? 0.35f : -0.35f);
            AdditiveFrame[n] = v * weight + AdditiveFrame[n];
            phase = step + phase;
        }
    }
    PeakNormalize(AdditiveFrame, SamplesPerFrame);
}

void LiteralComplexFft(float* data, int32_t nn, int32_t direction) {
    const int32_t n = 2 * nn;
    for (int32_t i = 2; i < n - 2; i += 2) {
        int32_t r = 0;
        for (int32_t b = 2; b < n; b <<= 1) r = 2 * (r + ((i & b) != 0 ? 1 : 0));
        if (i < r) {
            std::swap(data[i], data[r]);
            std::swap(data[i + 1], data[r + 1]);
        }
    }
    const float lnSize = static_cast<float>(std::log(static_cast<double>(static_cast<float>(nn))));
    const int32_t stages = static_cast<int32_t>(lnSize / static_cast<float>(std::log(2.0)));
    int32_t mmax = 2;
    for (int32_t stage = 0; stage < stages; ++stage) {
        const float theta = 3.1415927f / static_cast<float>(mmax / 2);
        const float wpr = static_cast<float>(std::cos(static_cast<double>(theta)));
        const float wpi = static_cast<float>(std::sin(static_cast<double>(theta))) *
                          static_cast<float>(direction);
        float wr = 1.0f;
        float wi = 0.0f;
        for (int32_t m = 0; m < mmax; m += 2) {
            for (int32_t i = m; i < n; i += 2 * mmax) {
                const int32_t j = i + mmax;
                const float tempr = data[j] * wr - data[j + 1] * wi;
                const float tempi = data[j + 1] * wr + data[j] * wi;
                data[j] = data[i] - tempr;
                data[j + 1] = data[i + 1] - tempi;
                data[i] = data[i] + tempr;
                data[i + 1] = data[i + 1] + tempi;
            }
            const float oldWr = wr;
            wr = wpr * wr - wpi * wi;
            wi = wpr * wi + wpi * oldWr;
        }
        mmax = 2 * mmax;
    }
}

void LiteralGeneratePadwave(int32_t bandwidthCents) {
    const int32_t n = PadwaveSamples;
    const float cents = static_cast<float>(bandwidthCents < 1 ? 1 : bandwidthCents);
    std::vector<float> binAmp(n / 2, 0.0f);
    const float widen =
        static_cast<float>(std::pow(2.0, static_cast<double>(cents * 0.00083333335f))) - 1.0f;
    for (int h = 1; h < HarmonicCount; ++h) {
        const float amp = std::max(100.0f - static_cast<float>(Harmonics[h - 1]), 0.0f);
        const float invb = 1.0f / (((static_cast<float>(h) * widen) * 440.0f) * (1.0f / 88200.0f));
        const float fi = (static_cast<float>(h) * 440.0f) / 44100.0f;
        for (int32_t i = 0; i < n / 2; ++i) {
            const float x = (static_cast<float>(i) / static_cast<float>(n) - fi) * invb;
            const float profile =
                x * x > 14.712806f
                    ? 0.0f
                    : static_cast<float>(std::exp(-static_cast<double>(x * x))) * invb;
            binAmp[i] = amp * profile + binAmp[i];
        }
    }
    std::vector<float> spectrum(size_t{2} * n, 0.0f);
    for (int32_t i = 0; i < n / 2; ++i) { // a random phase per bin, drawn in bin order
        const float phase = 6.2831855f * static_cast<float>(NextRandom()) / 32767.0f;
        spectrum[2 * i] = static_cast<float>(std::cos(static_cast<double>(phase))) * binAmp[i];
        spectrum[2 * i + 1] = static_cast<float>(std::sin(static_cast<double>(phase))) * binAmp[i];
    }
    LiteralComplexFft(spectrum.data(), n, 1);
    for (int32_t k = 0; k < n; ++k) PadwaveBuffer[k] = spectrum[2 * k];
    NormalizePadwave(n);
}

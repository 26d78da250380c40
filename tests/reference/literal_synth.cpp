#include "tests/reference/literal_synth.h"

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

void LiteralComplexFft(float* data, int32_t nn, int32_t direction) {
    const int32_t n = 2 * nn;
    for (int32_t i = 2; i < n - 2; i += 2) {
        int32_t r = 0;
        for (int32_t b = 2; b < n; b <<= 1) {
            if (i & b) r = r + 1;
            r = r * 2;
        }
        if (i < r) {
            std::swap(data[i], data[r]);
            std::swap(data[i + 1], data[r + 1]);
        }
    }
    const float lnSize = static_cast<float>(std::log(static_cast<double>(static_cast<float>(nn))));
    const float lnTwo = static_cast<float>(std::log(2.0));
    const int32_t stages = static_cast<int32_t>(lnSize / lnTwo);
    int32_t mmax = 2;
    for (int32_t stage = 0; stage < stages; ++stage) {
        const int32_t istep = 2 * mmax;
        const float theta = 3.1415927f / static_cast<float>(mmax / 2);
        const float wpr = static_cast<float>(std::cos(static_cast<double>(theta)));
        const float wpi = static_cast<float>(std::sin(static_cast<double>(theta))) * static_cast<float>(direction);
        float wr = 1.0f;
        float wi = 0.0f;
        for (int32_t m = 0; m < mmax; m += 2) {
            for (int32_t i = m; i < n; i += istep) {
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
        mmax = istep;
    }
}

void LiteralSynthesizePadwave(int32_t n, int32_t rate, float baseFrequency, float bandwidthCents,
                              int32_t harmonicCount, const float* amplitudes) {
    const int32_t half = n / 2;
    std::vector<float> binAmp(half);
    std::vector<float> binPhase(half);
    for (int32_t i = 0; i < half; ++i) {
        binAmp[i] = 0.0f;
        binPhase[i] = 6.2831855f * static_cast<float>(NextRandom()) / 32767.0f;
    }
    if (harmonicCount > 1) {
        const float widen = static_cast<float>(std::pow(2.0, static_cast<double>(bandwidthCents * 0.00083333335f))) - 1.0f;
        const float inv2rate = 1.0f / (static_cast<float>(rate) * 2.0f);
        for (int32_t h = 1; h < harmonicCount; ++h) {
            const float bwi = ((static_cast<float>(h) * widen) * baseFrequency) * inv2rate;
            const float fi = (static_cast<float>(h) * baseFrequency) / static_cast<float>(rate);
            const float invb = 1.0f / bwi;
            for (int32_t i = 0; i < half; ++i) {
                const float x = (static_cast<float>(i) / static_cast<float>(n) - fi) * invb;
                const float q = x * x;
                const float profile = q > 14.712806f ? 0.0f : static_cast<float>(std::exp(-static_cast<double>(q))) * invb;
                binAmp[i] = amplitudes[h] * profile + binAmp[i];
            }
        }
    }
    std::vector<float> spectrum(size_t{2} * n, 0.0f);
    for (int32_t i = 0; i < half; ++i) {
        spectrum[2 * i] = static_cast<float>(std::cos(static_cast<double>(binPhase[i]))) * binAmp[i];
        spectrum[2 * i + 1] = static_cast<float>(std::sin(static_cast<double>(binPhase[i]))) * binAmp[i];
    }
    LiteralComplexFft(spectrum.data(), n, 1);
    for (int32_t k = 0; k < n; ++k) PadwaveBuffer[k] = spectrum[2 * k];
    NormalizePadwave(n);
}

void LiteralGeneratePadwave(int32_t bandwidthCents) {
    float amplitudes[HarmonicCount];
    amplitudes[0] = 0.0f;
    for (int h = 1; h < HarmonicCount; ++h) {
        amplitudes[h] = 100.0f - static_cast<float>(Harmonics[h - 1]);
        if (amplitudes[h] < 0.0f) amplitudes[h] = 0.0f;
    }
    const int32_t bandwidth = bandwidthCents < 1 ? 1 : bandwidthCents;
    LiteralSynthesizePadwave(PadwaveSamples, 44100, 440.0f, static_cast<float>(bandwidth), HarmonicCount, amplitudes);
}

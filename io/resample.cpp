#include "io/resample.h"

#include <algorithm>
#include <cfloat>
#include <vector>

#include "core/fft_plans.h"

namespace {

// FFTW's working arrays and the two plans of one length pair, released when the
// work is done.
struct Transforms {
    double* cycle;
    fftw_complex* spectrum;
    double* result;
    fftw_plan forward;
    fftw_plan backward;

    Transforms(int32_t inLength, int32_t outLength) {
        const int32_t bins = std::max(inLength, outLength) / 2 + 1;
        cycle = fftw_alloc_real(static_cast<size_t>(inLength));
        spectrum = fftw_alloc_complex(static_cast<size_t>(bins));
        result = fftw_alloc_real(static_cast<size_t>(outLength));
        forward = PlanForward(inLength, cycle, spectrum);
        backward = PlanBackward(outLength, spectrum, result);
    }
    ~Transforms() {
        DestroyPlan(forward);
        DestroyPlan(backward);
        fftw_free(cycle);
        fftw_free(spectrum);
        fftw_free(result);
    }
    Transforms(const Transforms&) = delete;
    Transforms& operator=(const Transforms&) = delete;
};

// Turns the inLength-point half spectrum into the outLength-point one in place.
// Bins are complex numbers in FFTW's half-complex layout: bin k of a real
// signal of length n, for k = 0 .. n / 2, its mirror n - k implied.
void ReshapeSpectrum(fftw_complex* spectrum, int32_t inLength, int32_t outLength) {
    const int32_t inBins = inLength / 2 + 1;
    const int32_t outBins = outLength / 2 + 1;
    if (outLength > inLength) {
        if (inLength % 2 == 0) {
            // The source's Nyquist bin stands for both +-inLength / 2.
            spectrum[inLength / 2][0] *= 0.5;
            spectrum[inLength / 2][1] *= 0.5;
        }
        for (int32_t k = inBins; k < outBins; ++k) {
            spectrum[k][0] = 0.0;
            spectrum[k][1] = 0.0;
        }
    } else if (outLength % 2 == 0) {
        // The bins at +-outLength / 2 fold into the new Nyquist bin.
        const int32_t nyquist = outLength / 2;
        spectrum[nyquist][0] = 2.0 * spectrum[nyquist][0];
        spectrum[nyquist][1] = 0.0;
    }
}

} // namespace

void ResampleCycles(int32_t inLength, int32_t outLength, int32_t count, const CycleSource& source,
                    float* out) {
    if (inLength == outLength) {
        std::vector<double> cycle(static_cast<size_t>(inLength));
        for (int32_t i = 0; i < count; ++i) {
            source(i, cycle.data());
            std::transform(cycle.begin(), cycle.end(), out + static_cast<size_t>(i) * outLength,
                           [](double v) { return static_cast<float>(v); });
        }
        return;
    }
    Transforms t(inLength, outLength);
    // The unnormalised transforms scale by inLength on the way.
    const double scale = 1.0 / inLength;
    for (int32_t i = 0; i < count; ++i) {
        source(i, t.cycle);
        fftw_execute(t.forward);
        ReshapeSpectrum(t.spectrum, inLength, outLength);
        fftw_execute(t.backward);
        float* cycleOut = out + static_cast<size_t>(i) * outLength;
        // The band-limited curve may overshoot the largest float between samples.
        for (int32_t j = 0; j < outLength; ++j)
            cycleOut[j] = static_cast<float>(
                std::clamp(t.result[j] * scale, -double{FLT_MAX}, double{FLT_MAX}));
    }
}

#include "synth/frame_processes.h"

#include <algorithm>
#include <cmath>

#include "core/editor_state.h"
#include "core/sample_ops.h"
#include "synth/frame_spectrum.h"
#include "synth/oscillator.h"

namespace {

// Runs `change` on the spectrum of each finite frame of the edit range; a frame
// whose spectrum `change` declines (false) keeps its samples bit for bit.
void ChangeEachSpectrum(const std::function<bool(Bin* bins)>& change) {
    ProcessEditFrames([&](float* frame) {
        if (!AllFinite(frame)) return;
        Bin bins[FrameBins];
        FrameToSpectrum(frame, bins);
        if (change(bins)) SpectrumToFrame(bins, frame);
    });
}

bool ZeroBins(Bin* bins, int32_t first, int32_t end) {
    for (int32_t k = first; k < end; ++k) bins[k] = Bin();
    return true;
}

// A circular shift of a fraction of a sample: bin k turns by -k x theta. The
// Nyquist bin, the same bin at +-512, keeps the real part of its turn, which is
// what the shifted cosine shows at the samples.
void TurnBins(Bin* bins, float theta) {
    for (int32_t k = 1; k < FrameBins; ++k) {
        // The angle k x theta is formed in double on purpose: in single
        // precision bin 511 would turn up to 1e-4 radian wrong.
        const double angle = -static_cast<double>(k) * static_cast<double>(theta);
        const Bin turn(static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle)));
        bins[k] = bins[k] * turn;
    }
    bins[NyquistBin] = Bin(bins[NyquistBin].real(), 0.0f);
}

bool AlignPhase(Bin* bins) {
    float strongest = 0.0f;
    for (int32_t k = 0; k < FrameBins; ++k) strongest = std::fmax(strongest, std::norm(bins[k]));
    const float fundamental = std::norm(bins[1]);
    // 100 dB in power is a ratio of 1e10.
    if (fundamental == 0.0f || fundamental < strongest * 1e-10f) return false;
    // A sine starting at sample 0 has bin 1 at phase -pi / 2.
    TurnBins(bins, std::arg(bins[1]) + Pi * 0.5f);
    return true;
}

bool ShiftHarmonics(Bin* bins, int32_t shift) {
    Bin shifted[FrameBins] = {};
    shifted[0] = bins[0];
    for (int32_t k = 1; k <= HighestHarmonic; ++k) {
        const int32_t to = k + shift;
        if (to >= 1 && to <= HighestHarmonic) shifted[to] = bins[k];
    }
    std::copy(shifted, shifted + FrameBins, bins);
    return true;
}

} // namespace

bool AllFinite(const float* frame) {
    for (int32_t n = 0; n < SamplesPerFrame; ++n)
        if (!std::isfinite(frame[n])) return false;
    return true;
}

void EditFrames(int32_t& first, int32_t& last) {
    ComputeEditRange();
    first = RangeStart / SamplesPerFrame;
    last = ViewMode == ViewWavetable ? LastFrameStart / SamplesPerFrame : first;
}

void ProcessEditFrames(const std::function<void(float* frame)>& process) {
    TakeUndoSnapshot();
    int32_t first = 0;
    int32_t last = 0;
    EditFrames(first, last);
    for (int32_t j = first; j <= last; ++j) process(Wavetable + j * SamplesPerFrame);
}

void RemoveDcEach() {
    ProcessEditFrames([](float* frame) {
        if (!AllFinite(frame)) return;
        // The sum in double on purpose: 1024 single-precision additions would
        // leave a residue of the mean behind.
        double sum = 0.0;
        for (int32_t n = 0; n < SamplesPerFrame; ++n) sum += frame[n];
        const float mean = static_cast<float>(sum / SamplesPerFrame);
        for (int32_t n = 0; n < SamplesPerFrame; ++n) frame[n] = frame[n] - mean;
    });
}

void NormalizeEach() {
    ProcessEditFrames([](float* frame) { PeakNormalize(frame, SamplesPerFrame); });
}

void AlignPhaseEach() { ChangeEachSpectrum(AlignPhase); }

void LowPassEach(int32_t highest) {
    ChangeEachSpectrum([highest](Bin* bins) { return ZeroBins(bins, highest + 1, FrameBins); });
}

void HighPassEach(int32_t lowest) {
    ChangeEachSpectrum([lowest](Bin* bins) { return ZeroBins(bins, 0, lowest); });
}

void ShiftHarmonicsEach(int32_t shift) {
    ChangeEachSpectrum([shift](Bin* bins) { return ShiftHarmonics(bins, shift); });
}

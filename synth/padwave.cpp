#include "synth/padwave.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "core/editor_state.h"
#include "core/random.h"
#include "synth/fft.h"
#include "synth/helper_thread.h"
#include "synth/oscillator.h"

namespace {

constexpr int32_t SampleRate = 44100;
constexpr float BaseFrequency = 440.0f;
constexpr float CentsFactor = 0.00083333335f; // 1 / 1200
constexpr float ProfileCutoff = 14.712806f;
constexpr float PeakDivisor = 3.0f;
constexpr float FullBar = 100.0f;
// The nearest double to pi, for the quadrants of a phase.
constexpr double PiDouble = 3.14159265358979323846;

// The square of the profile argument x = (1 / bandwidth) x offset.
float SquaredArgument(float offset, float inverseBandwidth) {
    const float x = inverseBandwidth * offset;
    return x * x;
}

// The profile with 1 / bandwidth given: exp(-x^2) / bandwidth, 0 beyond the
// cut-off.
float Profile(float offset, float inverseBandwidth) {
    const float q = SquaredArgument(offset, inverseBandwidth);
    if (q > ProfileCutoff) return 0.0f;
    return static_cast<float>(std::exp(-static_cast<double>(q))) * inverseBandwidth;
}

// One harmonic's band: its amplitude, its centre and the inverse of its width
// (both as fractions of the sample rate), and the bins [first, end) that get
// a share of it.
struct Band {
    float amp;
    float centre;
    float invWidth;
    int32_t first;
    int32_t end;
};

// The offset of a bin's frequency from the band's centre. bin / n is taken as
// bin x (1 / n): n is a power of two, so 1 / n is exact and the product has
// the quotient's bits, at the cost of a multiplication instead of a division.
float BinOffset(const Band& band, int32_t bin, int32_t n) {
    return static_cast<float>(bin) * (1.0f / static_cast<float>(n)) - band.centre;
}

// Narrows a band to the bins inside the profile cut-off. The argument grows
// with the bin number, so those bins form one run; an estimate from the centre
// and the width is moved bin by bin until both ends are exact. Every bin left
// out would have added amp x 0, a zero that cannot change a sum that started
// at +0.
void NarrowToCutoff(Band& band, int32_t n, int32_t half) {
    auto inside = [&](int32_t bin) {
        return SquaredArgument(BinOffset(band, bin, n), band.invWidth) <= ProfileCutoff;
    };
    const double centre = static_cast<double>(band.centre) * n;
    const double reach = std::sqrt(static_cast<double>(ProfileCutoff)) /
                         std::fabs(static_cast<double>(band.invWidth)) * n;
    auto clampBin = [half](double bin) {
        return static_cast<int32_t>(std::clamp(bin, 0.0, static_cast<double>(half)));
    };
    int32_t first = clampBin(std::floor(centre - reach));
    int32_t end = clampBin(std::ceil(centre + reach) + 1.0);
    while (first > 0 && inside(first - 1)) --first;
    while (first < end && !inside(first)) ++first;
    while (end < half && inside(end)) ++end;
    while (end > first && !inside(end - 1)) --end;
    band.first = first;
    band.end = end;
}

// The bands of harmonics 1 .. count - 1. A silent harmonic adds only zeros and
// is left out. A band whose amplitude, centre or width is not finite keeps
// every bin: there even the bins outside the cut-off may add something other
// than zero.
std::vector<Band> HarmonicBands(int32_t n, int32_t rate, float f, float bw, int32_t count,
                                const float* amp) {
    std::vector<Band> bands;
    const int32_t half = n / 2;
    const float widen =
        static_cast<float>(std::pow(2.0, static_cast<double>(bw * CentsFactor))) - 1.0f;
    const float inv2rate = 1.0f / (static_cast<float>(rate) * 2.0f);
    for (int32_t h = 1; h < count; ++h) {
        const float hf = static_cast<float>(h);
        const float width = ((hf * widen) * f) * inv2rate;
        Band band{amp[h], (hf * f) / static_cast<float>(rate), 1.0f / width, 0, half};
        if (std::isfinite(band.amp) && std::isfinite(band.centre) && std::isfinite(band.invWidth)) {
            if (band.amp == 0.0f) continue;
            NarrowToCutoff(band, n, half);
        }
        bands.push_back(band);
    }
    return bands;
}

// The split between the bins of the calling thread and those of the helper.
// The calling thread also draws the n / 2 phases, which cost about as much
// as two band visits per five bins, so it takes that much less band work.
int32_t BalancedSplit(const std::vector<Band>& bands, int32_t half) {
    auto visitsBelow = [&](int32_t bin) {
        int64_t visits = 0;
        for (const Band& band : bands) visits += std::clamp(bin, band.first, band.end) - band.first;
        return visits;
    };
    const int64_t drawing = int64_t{half} * 2 / 5;
    const int64_t target = std::max<int64_t>(visitsBelow(half) - drawing, 0) / 2;
    int32_t lo = 0;
    int32_t hi = half;
    while (lo < hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        if (visitsBelow(mid) < target)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// Every bin of [first, end) sums its bands in harmonic order.
void AddBands(const std::vector<Band>& bands, int32_t n, int32_t first, int32_t end,
              float* binAmp) {
    for (const Band& band : bands) {
        const int32_t stop = std::min(end, band.end);
        for (int32_t i = std::max(first, band.first); i < stop; ++i)
            binAmp[i] = band.amp * Profile(BinOffset(band, i, n), band.invWidth) + binAmp[i];
    }
}

float SignedZero(bool negative) {
    const uint32_t bits = static_cast<uint32_t>(negative) << 31;
    float zero;
    std::memcpy(&zero, &bits, sizeof zero);
    return zero;
}

// One spectrum bin from its amplitude and its phase of 0 .. 2 pi:
// bin[0] = cos(phase) x amp, bin[1] = sin(phase) x amp. A silent bin holds
// cos x 0 and sin x 0, zeros that keep the signs of cos and sin; for phases
// 0 .. 2 pi those signs follow from the quadrant, with no call to cos or sin.
void SpectrumBin(float amp, float phase, float* bin) {
    const double angle = phase;
    if (amp == 0.0f) {
        bin[0] = SignedZero((angle > PiDouble / 2) & (angle < 3 * PiDouble / 2));
        bin[1] = SignedZero((angle > PiDouble) & (angle < 2 * PiDouble));
        return;
    }
    bin[0] = static_cast<float>(std::cos(angle)) * amp;
    bin[1] = static_cast<float>(std::sin(angle)) * amp;
}

// Positions [first, end) of the spectrum in bit-reversed order: position p
// holds bin BitReversed(p); bins from half up are zero.
void FillReversedSpectrum(const float* binAmp, const float* binPhase, int32_t nn, int32_t first,
                          int32_t end, float* data) {
    int32_t bin = BitReversed(first, nn);
    for (int32_t p = first; p < end; ++p) {
        if (bin < nn / 2) {
            SpectrumBin(binAmp[bin], binPhase[bin], data + 2 * p);
        } else {
            data[2 * p] = 0.0f;
            data[2 * p + 1] = 0.0f;
        }
        bin = NextBitReversed(bin, nn);
    }
}

// The phases of the n / 2 bins, drawn in bin order from the pseudo-random
// sequence.
void DrawPhases(float* binPhase, int32_t half) {
    for (int32_t i = 0; i < half; ++i)
        binPhase[i] = FullTurn * static_cast<float>(NextRandom()) / static_cast<float>(RandomMax);
}

} // namespace

void GeneratePadwave(int32_t bandwidthCents) {
    float amplitudes[HarmonicCount];
    amplitudes[0] = 0.0f;
    for (int h = 1; h < HarmonicCount; ++h)
        amplitudes[h] = std::max(FullBar - static_cast<float>(Harmonics[h - 1]), 0.0f);
    const float bandwidth = static_cast<float>(std::max(bandwidthCents, int32_t{1}));
    SynthesizePadwave(PadwaveSamples, SampleRate, BaseFrequency, bandwidth, HarmonicCount,
                      amplitudes);
}

// Random phases for the n / 2 bins below half the sample rate, Gaussian
// bands around every harmonic, one inverse transform. Only bins below n / 2
// carry energy, so the real part is a sum of cosines of period n: the pad
// loops without a seam. n is a power of two, at most PadwaveSamples.
void SynthesizePadwave(int32_t n, int32_t rate, float baseFrequency, float bandwidthCents,
                       int32_t harmonicCount, const float* amplitudes) {
    const int32_t half = n / 2;
    const int32_t stages = StageCount(n);
    // One work area, released on return: bin amplitudes, bin phases, the
    // twiddle table and the spectrum.
    const size_t tableSize = TwiddleTableSize(stages);
    const std::unique_ptr<float[]> work(new float[size_t{2} * half + tableSize + size_t{2} * n]);
    float* binAmp = work.get();
    float* binPhase = binAmp + half;
    float* table = binPhase + half;
    float* spectrum = table + tableSize;
    std::fill(binAmp, binAmp + half, 0.0f);

    std::vector<Band> bands;
    if (harmonicCount > 1)
        bands = HarmonicBands(n, rate, baseFrequency, bandwidthCents, harmonicCount, amplitudes);
    // The calling thread draws the phases (it alone draws from the
    // pseudo-random sequence), rotates the twiddles of every stage but the
    // last and sums the bands into the bins below the split; the helper thread
    // rotates the last stage's twiddles and sums the bins from the split up.
    const int32_t split = BalancedSplit(bands, half);
    WithHelperThread(
        n >= ThreadedFftSize,
        [&] {
            DrawPhases(binPhase, half);
            FillTwiddles(0, stages - 1, 1, table);
            AddBands(bands, n, 0, split, binAmp);
        },
        [&] {
            FillTwiddles(stages - 1, stages, 1, table);
            AddBands(bands, n, split, half, binAmp);
        });
    // The spectrum goes straight into bit-reversed order, each thread writing
    // the half of the positions it then transforms.
    TransformFromBitReversed(spectrum, n, stages, table, [&](int32_t first, int32_t end) {
        FillReversedSpectrum(binAmp, binPhase, n, first, end, spectrum);
    });
    for (int32_t k = 0; k < n; ++k) PadwaveBuffer[k] = spectrum[2 * k];
    NormalizePadwave(n);
}

float PadwaveProfile(float offset, float bandwidth) { return Profile(offset, 1.0f / bandwidth); }

// The largest positive sample becomes 1/3. A buffer without a positive sample
// (all harmonics silent), or one so faint that the gain overflows, would be
// scaled to infinities and NaNs; it is left silent instead.
void NormalizePadwave(int32_t count) {
    float m = 0.0f;
    for (int32_t i = 0; i < count; ++i)
        if (PadwaveBuffer[i] > m) m = PadwaveBuffer[i];
    if (m > 0.0f) {
        const float g = 1.0f / (m * PeakDivisor);
        if (!std::isinf(g)) {
            for (int32_t i = 0; i < count; ++i) PadwaveBuffer[i] = PadwaveBuffer[i] * g;
            return;
        }
    }
    std::fill(PadwaveBuffer, PadwaveBuffer + count, 0.0f);
}

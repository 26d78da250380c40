#include "synth/padwave.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/editor_state.h"
#include "core/random.h"
#include "synth/oscillator.h"

namespace {

constexpr int32_t SampleRate = 44100;
constexpr float BaseFrequency = 440.0f;
constexpr float CentsFactor = 0.00083333335f;  // 1 / 1200
constexpr float ProfileCutoff = 14.712806f;
constexpr float PeakDivisor = 3.0f;
constexpr float FullBar = 100.0f;
// Below these sizes a second thread costs more than it saves.
constexpr int32_t ThreadedFftSize = 4096;
// The early transform stages run on blocks of this many numbers (32 KiB).
constexpr int32_t CacheBlock = 8192;

// Runs work(0) and work(1), on two threads when `threaded`: work(1) on a
// helper thread, work(0) on the calling one.
template <typename Work>
void InParts(bool threaded, const Work& work) {
    if (!threaded) {
        work(0);
        work(1);
        return;
    }
    std::thread helper;
    try {
        helper = std::thread(work, 1);
    } catch (const std::system_error&) {
        // No thread to be had: the calling thread does both parts.
        work(0);
        work(1);
        return;
    }
    work(0);
    helper.join();
}

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

float BinOffset(const Band& band, int32_t bin, int32_t n) {
    return static_cast<float>(bin) / static_cast<float>(n) - band.centre;
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
    const double reach = std::sqrt(static_cast<double>(ProfileCutoff)) / std::fabs(static_cast<double>(band.invWidth)) * n;
    auto clampBin = [half](double bin) { return static_cast<int32_t>(std::clamp(bin, 0.0, static_cast<double>(half))); };
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
std::vector<Band> HarmonicBands(int32_t n, int32_t rate, float f, float bw, int32_t count, const float* amp) {
    std::vector<Band> bands;
    const int32_t half = n / 2;
    const float widen = static_cast<float>(std::pow(2.0, static_cast<double>(bw * CentsFactor))) - 1.0f;
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
        if (visitsBelow(mid) < target) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

// Every bin of [first, end) sums its bands in harmonic order.
void AddBands(const std::vector<Band>& bands, int32_t n, int32_t first, int32_t end, float* binAmp) {
    for (const Band& band : bands) {
        const int32_t stop = std::min(end, band.end);
        for (int32_t i = std::max(first, band.first); i < stop; ++i)
            binAmp[i] = band.amp * Profile(BinOffset(band, i, n), band.invWidth) + binAmp[i];
    }
}

// The number of stages: the integer part of ln(nn) / ln(2), both logarithms
// rounded to single. Exact for every power of two up to 2^18.
int32_t StageCount(int32_t nn) {
    const float lnSize = static_cast<float>(std::log(static_cast<double>(static_cast<float>(nn))));
    const float lnTwo = static_cast<float>(std::log(2.0));
    return static_cast<int32_t>(lnSize / lnTwo);
}

// The bit reversal of p + 1 in log2(nn) bits, given r, the reversal of p.
int32_t NextReversed(int32_t r, int32_t nn) {
    int32_t bit = nn >> 1;
    while (r & bit) {
        r ^= bit;
        bit >>= 1;
    }
    return r | bit;
}

int32_t Reversed(int32_t p, int32_t nn) {
    int32_t r = 0;
    for (int32_t bit = 1; bit < nn; bit <<= 1) r = (r << 1) | ((p & bit) ? 1 : 0);
    return r;
}

// The bit-reversal permutation, shared by two parts: the swap of positions p
// and Reversed(p) belongs to the part given by the middle bit of p. Every
// position is in one swap at most, so the parts never touch the same values,
// and they have the same number of swaps.
void BitReverse(int part, float* data, int32_t nn) {
    int32_t bits = 0;
    while ((int32_t{1} << bits) < nn) ++bits;
    const int32_t run = int32_t{1} << (bits / 2);
    for (int32_t start = part * run; start < nn; start += 2 * run) {
        int32_t r = Reversed(start, nn);
        for (int32_t p = start; p < start + run; ++p) {
            if (p < r) {
                std::swap(data[2 * p], data[2 * r]);
                std::swap(data[2 * p + 1], data[2 * r + 1]);
            }
            r = NextReversed(r, nn);
        }
    }
}

// The twiddles (wr, wi) of a stage with blocks of mmax numbers, for m = 0, 2,
// ..., mmax - 2, produced by repeated rotation from (1, 0) exactly as one walk
// through a block would produce them.
void StageTwiddles(int32_t mmax, int32_t direction, float* twiddles) {
    const float theta = Pi / static_cast<float>(mmax / 2);
    const float wpr = static_cast<float>(std::cos(static_cast<double>(theta)));
    const float wpi = static_cast<float>(std::sin(static_cast<double>(theta))) * static_cast<float>(direction);
    float wr = 1.0f;
    float wi = 0.0f;
    for (int32_t m = 0; m < mmax; m += 2) {
        twiddles[m] = wr;
        twiddles[m + 1] = wi;
        const float oldWr = wr;
        wr = wpr * wr - wpi * wi;
        wi = wpr * wi + wpi * oldWr;
    }
}

// One butterfly on the value pairs at lower and upper (real, imaginary).
inline void Butterfly(float* __restrict lower, float* __restrict upper, float wr, float wi) {
    const float tempr = upper[0] * wr - upper[1] * wi;
    const float tempi = upper[1] * wr + upper[0] * wi;
    upper[0] = lower[0] - tempr;
    upper[1] = lower[1] - tempi;
    lower[0] = lower[0] + tempr;
    lower[1] = lower[1] + tempi;
}

// Two neighbouring butterflies of a stage held in registers: four numbers of
// the lower and of the upper half of a block and their two twiddle pairs.
// Each lane does the arithmetic of Butterfly; tempr = ur x wr - ui x wi is
// computed as ur x wr + (-(ui x wi)), which IEEE defines to be the same.
#if defined(__SSE2__)
using Lanes = __m128;
inline Lanes LoadLanes(const float* p) { return _mm_loadu_ps(p); }
inline void StoreLanes(float* p, Lanes v) { _mm_storeu_ps(p, v); }
inline void ButterflyTwo(Lanes& lower, Lanes& upper, Lanes twiddles) {
    const Lanes wr = _mm_shuffle_ps(twiddles, twiddles, _MM_SHUFFLE(2, 2, 0, 0));
    const Lanes wi = _mm_shuffle_ps(twiddles, twiddles, _MM_SHUFFLE(3, 3, 1, 1));
    const Lanes swapped = _mm_shuffle_ps(upper, upper, _MM_SHUFFLE(2, 3, 0, 1));
    const Lanes realSigns = _mm_set_ps(0.0f, -0.0f, 0.0f, -0.0f);
    const Lanes temp = _mm_add_ps(_mm_mul_ps(upper, wr), _mm_xor_ps(_mm_mul_ps(swapped, wi), realSigns));
    upper = _mm_sub_ps(lower, temp);
    lower = _mm_add_ps(lower, temp);
}
#else
struct Lanes {
    float v[4];
};
inline Lanes LoadLanes(const float* p) {
    Lanes lanes;
    std::memcpy(lanes.v, p, sizeof lanes.v);
    return lanes;
}
inline void StoreLanes(float* p, const Lanes& lanes) { std::memcpy(p, lanes.v, sizeof lanes.v); }
inline void ButterflyTwo(Lanes& lower, Lanes& upper, const Lanes& twiddles) {
    Butterfly(lower.v, upper.v, twiddles.v[0], twiddles.v[1]);
    Butterfly(lower.v + 2, upper.v + 2, twiddles.v[2], twiddles.v[3]);
}
#endif

// The butterflies of one stage over the blocks in numbers [begin, end), for
// the twiddle positions [mFirst, mEnd). Every butterfly of a stage works on
// its own pair of values, so they may run in any order, block by block; from
// mmax = 4 on they go two at a time.
inline void Butterflies(float* data, int32_t begin, int32_t end, int32_t mmax, const float* twiddles, int32_t mFirst,
                        int32_t mEnd) {
    for (int32_t block = begin; block < end; block += 2 * mmax) {
        float* lower = data + block;
        float* upper = lower + mmax;
        if (mmax == 2) {
            Butterfly(lower, upper, twiddles[0], twiddles[1]);
            continue;
        }
        for (int32_t m = mFirst; m < mEnd; m += 4) {
            Lanes l = LoadLanes(lower + m);
            Lanes u = LoadLanes(upper + m);
            ButterflyTwo(l, u, LoadLanes(twiddles + m));
            StoreLanes(lower + m, l);
            StoreLanes(upper + m, u);
        }
    }
}

// Stage s has blocks of 2 x mmax numbers with mmax = 2^(s+1). The twiddles
// of all stages lie one after the other, stage s from number 2^(s+1) - 2.
int32_t StageMmax(int32_t stage) { return 2 << stage; }
size_t TwiddleOffset(int32_t stage) { return (size_t{2} << stage) - 2; }

// Share 0 rotates the twiddles of every stage but the last, share 1 those of
// the last stage: about the same number of rotations each.
void FillTwiddleTable(int part, int32_t stages, int32_t direction, float* table) {
    const int32_t first = part == 0 ? 0 : stages - 1;
    const int32_t last = part == 0 ? stages - 1 : stages;
    for (int32_t stage = first; stage < last; ++stage)
        StageTwiddles(StageMmax(stage), direction, table + TwiddleOffset(stage));
}

// Stages s and s + 1 (mmax of stage s at least 4) in one pass. Each
// stage-(s + 1) block holds two stage-s blocks a|b and c|d; for every m the
// stage-s butterflies (a, b) and (c, d) give exactly the four values of the
// stage-(s + 1) butterflies (a, c) and (b, d), so each value is loaded and
// stored once for two stages.
inline void TwoStages(float* data, int32_t count, int32_t mmax, const float* twiddles, const float* nextTwiddles) {
    for (int32_t block = 0; block < count; block += 4 * mmax) {
        float* a = data + block;
        float* b = a + mmax;
        float* c = b + mmax;
        float* d = c + mmax;
        for (int32_t m = 0; m < mmax; m += 4) {
            Lanes va = LoadLanes(a + m);
            Lanes vb = LoadLanes(b + m);
            Lanes vc = LoadLanes(c + m);
            Lanes vd = LoadLanes(d + m);
            const Lanes w = LoadLanes(twiddles + m);
            ButterflyTwo(va, vb, w);
            ButterflyTwo(vc, vd, w);
            ButterflyTwo(va, vc, LoadLanes(nextTwiddles + m));
            ButterflyTwo(vb, vd, LoadLanes(nextTwiddles + mmax + m));
            StoreLanes(a + m, va);
            StoreLanes(b + m, vb);
            StoreLanes(c + m, vc);
            StoreLanes(d + m, vd);
        }
    }
}

// Small blocks have a fixed number of butterflies, so the block loop carries
// no inner loop.
template <int32_t Mmax>
void SmallStage(float* data, int32_t count, const float* twiddles) {
    Butterflies(data, 0, count, Mmax, twiddles, 0, Mmax);
}

template <int32_t Mmax>
void SmallTwoStages(float* data, int32_t count, const float* twiddles, const float* nextTwiddles) {
    TwoStages(data, count, Mmax, twiddles, nextTwiddles);
}

// Stages first .. last - 1 over `count` numbers: stage 0 alone, the others
// two at a time.
void Stages(float* data, int32_t count, int32_t first, int32_t last, const float* table) {
    int32_t stage = first;
    if (stage == 0 && stage < last) {
        SmallStage<2>(data, count, table);
        ++stage;
    }
    for (; stage + 1 < last; stage += 2) {
        const int32_t mmax = StageMmax(stage);
        const float* twiddles = table + TwiddleOffset(stage);
        const float* nextTwiddles = table + TwiddleOffset(stage + 1);
        if (mmax == 4) SmallTwoStages<4>(data, count, twiddles, nextTwiddles);
        else TwoStages(data, count, mmax, twiddles, nextTwiddles);
    }
    if (stage < last) {
        const int32_t mmax = StageMmax(stage);
        Butterflies(data, 0, count, mmax, table + TwiddleOffset(stage), 0, mmax);
    }
}

// Stages 0 .. stages - 1 over `count` numbers (a power of two). A stage only
// combines values inside its own blocks, so the early stages run one cache
// block at a time, all of them before the next cache block.
void BlockedStages(float* data, int32_t count, int32_t stages, const float* table) {
    const int32_t chunk = std::min(count, CacheBlock);
    int32_t inner = 0;
    while (inner < stages && 2 * StageMmax(inner) <= chunk) ++inner;
    for (int32_t start = 0; start < count; start += chunk) Stages(data + start, chunk, 0, inner, table);
    Stages(data, count, inner, stages, table);
}

// The stages of an nn-value transform. prepareHalf(part) first puts half
// `part` of the values into bit-reversed order; that thread then runs every
// stage but the last on its half (those stages never mix the halves), and
// the last stage's butterflies are split between the threads.
template <typename Prepare>
void TransformStages(float* data, int32_t nn, int32_t stages, const float* table, const Prepare& prepareHalf) {
    const bool threaded = nn >= ThreadedFftSize;
    InParts(threaded, [&](int part) {
        prepareHalf(part);
        if (threaded) BlockedStages(data + part * nn, nn, stages - 1, table);
    });
    if (!threaded) {
        BlockedStages(data, 2 * nn, stages, table);
        return;
    }
    const float* twiddles = table + TwiddleOffset(stages - 1);
    InParts(true, [&](int part) { Butterflies(data, 0, 2 * nn, nn, twiddles, part * nn / 2, (part + 1) * nn / 2); });
}

float SignedZero(bool negative) {
    const uint32_t bits = static_cast<uint32_t>(negative) << 31;
    float zero;
    std::memcpy(&zero, &bits, sizeof zero);
    return zero;
}

// One spectrum bin from its amplitude and its phase of 0 .. 2 pi:
// bin[0] = cos(phase) x amp, bin[1] = sin(phase) x amp. A silent bin holds cos x 0 and sin x 0, zeros that keep the signs of cos
// and sin; for phases 0 .. 2 pi those signs follow from the quadrant, with no
// call to cos or sin.
void SpectrumBin(float amp, float phase, float* bin) {
    const double angle = phase;
    if (amp == 0.0f) {
        bin[0] = SignedZero((angle > M_PI / 2) & (angle < 3 * M_PI / 2));
        bin[1] = SignedZero((angle > M_PI) & (angle < 2 * M_PI));
        return;
    }
    double s;
    double c;
    sincos(angle, &s, &c);
    bin[0] = static_cast<float>(c) * amp;
    bin[1] = static_cast<float>(s) * amp;
}

// Positions [first, end) of the spectrum in bit-reversed order: position p
// holds bin Reversed(p); bins from half up are zero.
void FillReversedSpectrum(const float* binAmp, const float* binPhase, int32_t nn, int32_t first, int32_t end,
                          float* data) {
    int32_t bin = Reversed(first, nn);
    for (int32_t p = first; p < end; ++p) {
        if (bin < nn / 2) {
            SpectrumBin(binAmp[bin], binPhase[bin], data + 2 * p);
        } else {
            data[2 * p] = 0.0f;
            data[2 * p + 1] = 0.0f;
        }
        bin = NextReversed(bin, nn);
    }
}

}  // namespace

void GeneratePadwave(int32_t bandwidthCents) {
    float amplitudes[HarmonicCount];
    amplitudes[0] = 0.0f;
    for (int h = 1; h < HarmonicCount; ++h)
        amplitudes[h] = std::max(FullBar - static_cast<float>(Harmonics[h - 1]), 0.0f);
    const float bandwidth = static_cast<float>(std::max(bandwidthCents, int32_t{1}));
    SynthesizePadwave(PadwaveSamples, SampleRate, BaseFrequency, bandwidth, HarmonicCount, amplitudes);
}

// Random phases for the n / 2 bins below half the sample rate, Gaussian
// bands around every harmonic, one inverse transform. Only bins below n / 2
// carry energy, so the real part is a sum of cosines of period n: the pad
// loops without a seam. n is a power of two, at most PadwaveSamples.
//
// The two threads first share the phases, the bands' bins and the twiddle
// rotations; each then writes its half of the spectrum straight into
// bit-reversed order and transforms it.
void SynthesizePadwave(int32_t n, int32_t rate, float baseFrequency, float bandwidthCents,
                       int32_t harmonicCount, const float* amplitudes) {
    const int32_t half = n / 2;
    const int32_t stages = StageCount(n);
    // One work area, released on return: bin amplitudes, bin phases, the
    // twiddle table and the spectrum.
    const size_t tableSize = TwiddleOffset(stages);
    const std::unique_ptr<float[]> work(new float[size_t{2} * half + tableSize + size_t{2} * n]);
    float* binAmp = work.get();
    float* binPhase = binAmp + half;
    float* table = binPhase + half;
    float* spectrum = table + tableSize;
    std::fill(binAmp, binAmp + half, 0.0f);

    std::vector<Band> bands;
    if (harmonicCount > 1)
        bands = HarmonicBands(n, rate, baseFrequency, bandwidthCents, harmonicCount, amplitudes);
    const int32_t split = BalancedSplit(bands, half);
    InParts(n >= ThreadedFftSize, [&](int part) {
        // The calling thread alone draws from the pseudo-random sequence.
        if (part == 0)
            for (int32_t i = 0; i < half; ++i)
                binPhase[i] = FullTurn * static_cast<float>(NextRandom()) / static_cast<float>(RandomMax);
        FillTwiddleTable(part, stages, 1, table);
        AddBands(bands, n, part == 0 ? 0 : split, part == 0 ? split : half, binAmp);
    });
    TransformStages(spectrum, n, stages, table, [&](int part) {
        FillReversedSpectrum(binAmp, binPhase, n, part * half, (part + 1) * half, spectrum);
    });
    for (int32_t k = 0; k < n; ++k) PadwaveBuffer[k] = spectrum[2 * k];
    NormalizePadwave(n);
}

float PadwaveProfile(float offset, float bandwidth) { return Profile(offset, 1.0f / bandwidth); }

// Radix-2 decimation in time, twiddles by rotation, no scaling. For large
// transforms two threads share the bit reversal and the rotations, then the
// stages.
void ComplexFft(float* data, int32_t nn, int32_t direction) {
    const int32_t stages = StageCount(nn);
    std::vector<float> table(TwiddleOffset(stages));
    InParts(nn >= ThreadedFftSize, [&](int part) {
        BitReverse(part, data, nn);
        FillTwiddleTable(part, stages, direction, table.data());
    });
    TransformStages(data, nn, stages, table.data(), [](int) {});
}

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

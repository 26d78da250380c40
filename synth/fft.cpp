#include "synth/fft.h"

#include <cmath>
#include <utility>
#include <vector>

#include "synth/fft_lanes.h"
#include "synth/helper_thread.h"
#include "synth/oscillator.h"

namespace {

// Stage s has blocks of 2 x mmax floats with mmax = 2^(s+1): a lower and an
// upper half of mmax floats each. Its twiddles lie in the table from float
// 2^(s+1) - 2 on.
int32_t StageMmax(int32_t stage) { return 2 << stage; }
size_t TwiddleOffset(int32_t stage) { return (size_t{2} << stage) - 2; }

// The bit-reversal permutation in runs of sqrt(nn) positions (rounded down to
// a power of two): the swap of positions p and BitReversed(p) belongs to the
// run of p. This does the swaps of every second run from firstRun on. Every
// position is in one swap at most, so the even and the odd runs never touch
// the same values, and they hold the same number of swaps.
void BitReverseRuns(float* data, int32_t nn, int32_t firstRun) {
    int32_t bits = 0;
    while ((int32_t{1} << bits) < nn) ++bits;
    const int32_t run = int32_t{1} << (bits / 2);
    for (int32_t start = firstRun * run; start < nn; start += 2 * run) {
        int32_t r = BitReversed(start, nn);
        for (int32_t p = start; p < start + run; ++p) {
            if (p < r) {
                std::swap(data[2 * p], data[2 * r]);
                std::swap(data[2 * p + 1], data[2 * r + 1]);
            }
            r = NextBitReversed(r, nn);
        }
    }
}

// The twiddles (wr, wi) of a stage with blocks of mmax floats, for m = 0, 2,
// ..., mmax - 2, produced by repeated rotation from (1, 0) exactly as one walk
// through a block would produce them.
void StageTwiddles(int32_t mmax, int32_t direction, float* twiddles) {
    const float theta = Pi / static_cast<float>(mmax / 2);
    const float wpr = static_cast<float>(std::cos(static_cast<double>(theta)));
    const float wpi =
        static_cast<float>(std::sin(static_cast<double>(theta))) * static_cast<float>(direction);
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

// Stage 0: every block holds one butterfly.
void FirstStage(float* data, int32_t count, const float* twiddles) {
    for (int32_t block = 0; block < count; block += 4)
        Butterfly(data + block, data + block + 2, twiddles[0], twiddles[1]);
}

// The butterflies of a later stage over `count` floats, for the twiddle
// positions [mFirst, mEnd), two at a time. Every butterfly of a stage works on
// its own pair of values, so they may run in any order, block by block.
void Butterflies(float* data, int32_t count, int32_t mmax, const float* twiddles, int32_t mFirst,
                 int32_t mEnd) {
    for (int32_t block = 0; block < count; block += 2 * mmax) {
        float* lower = data + block;
        float* upper = lower + mmax;
        for (int32_t m = mFirst; m < mEnd; m += 4) {
            Lanes l = LoadLanes(lower + m);
            Lanes u = LoadLanes(upper + m);
            ButterflyTwo(l, u, LoadLanes(twiddles + m));
            StoreLanes(lower + m, l);
            StoreLanes(upper + m, u);
        }
    }
}

// Stages s and s + 1 (s at least 1) in one pass. Each stage-(s + 1) block
// holds two stage-s blocks a|b and c|d; for every m the stage-s butterflies
// (a, b) and (c, d) give exactly the four values of the stage-(s + 1)
// butterflies (a, c) and (b, d), so each value is loaded and stored once for
// two stages.
void TwoStages(float* data, int32_t count, int32_t mmax, const float* twiddles,
               const float* nextTwiddles) {
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

// Stages 0 .. stages - 1 over `count` floats: stage 0 alone, the others two
// at a time.
void Stages(float* data, int32_t count, int32_t stages, const float* table) {
    FirstStage(data, count, table);
    int32_t stage = 1;
    for (; stage + 1 < stages; stage += 2)
        TwoStages(data, count, StageMmax(stage), table + TwiddleOffset(stage),
                  table + TwiddleOffset(stage + 1));
    if (stage < stages)
        Butterflies(data, count, StageMmax(stage), table + TwiddleOffset(stage), 0,
                    StageMmax(stage));
}

} // namespace

int32_t StageCount(int32_t nn) {
    const float lnSize = static_cast<float>(std::log(static_cast<double>(static_cast<float>(nn))));
    const float lnTwo = static_cast<float>(std::log(2.0));
    return static_cast<int32_t>(lnSize / lnTwo);
}

int32_t BitReversed(int32_t p, int32_t nn) {
    int32_t r = 0;
    for (int32_t bit = 1; bit < nn; bit <<= 1) r = (r << 1) | ((p & bit) ? 1 : 0);
    return r;
}

int32_t NextBitReversed(int32_t r, int32_t nn) {
    int32_t bit = nn >> 1;
    while (r & bit) {
        r ^= bit;
        bit >>= 1;
    }
    return r | bit;
}

size_t TwiddleTableSize(int32_t stages) { return TwiddleOffset(stages); }

void FillTwiddles(int32_t firstStage, int32_t endStage, int32_t direction, float* table) {
    for (int32_t stage = firstStage; stage < endStage; ++stage)
        StageTwiddles(StageMmax(stage), direction, table + TwiddleOffset(stage));
}

void TransformFromBitReversed(float* data, int32_t nn, int32_t stages, const float* table,
                              const FillPositions& fill) {
    if (nn < ThreadedFftSize) {
        fill(0, nn);
        Stages(data, 2 * nn, stages, table);
        return;
    }
    // Only a last stage whose blocks span all 2 x nn floats mixes the halves;
    // 2^13 and 2^15 values stop a stage short of it.
    const bool lastStageJoinsHalves = StageMmax(stages - 1) == nn;
    const int32_t halfStages = lastStageJoinsHalves ? stages - 1 : stages;
    WithHelperThread(
        true,
        [&] {
            fill(0, nn / 2);
            Stages(data, nn, halfStages, table);
        },
        [&] {
            fill(nn / 2, nn);
            Stages(data + nn, nn, halfStages, table);
        });
    if (!lastStageJoinsHalves) return;
    // The last stage is one block; the calling thread takes the butterflies of
    // the first half of its twiddles, the helper thread the second half.
    const float* twiddles = table + TwiddleOffset(stages - 1);
    WithHelperThread(
        true, [&] { Butterflies(data, 2 * nn, nn, twiddles, 0, nn / 2); },
        [&] { Butterflies(data, 2 * nn, nn, twiddles, nn / 2, nn); });
}

// For large transforms the calling thread swaps the even runs of the bit
// reversal and rotates the twiddles of every stage but the last, while the
// helper thread swaps the odd runs and rotates the last stage's twiddles
// (about as many rotations as all the others). The values are then in
// bit-reversed order already, so the stages have nothing to fill.
void ComplexFft(float* data, int32_t nn, int32_t direction) {
    const int32_t stages = StageCount(nn);
    std::vector<float> table(TwiddleTableSize(stages));
    WithHelperThread(
        nn >= ThreadedFftSize,
        [&] {
            BitReverseRuns(data, nn, 0);
            FillTwiddles(0, stages - 1, direction, table.data());
        },
        [&] {
            BitReverseRuns(data, nn, 1);
            FillTwiddles(stages - 1, stages, direction, table.data());
        });
    TransformFromBitReversed(data, nn, stages, table.data(), [](int32_t, int32_t) {});
}

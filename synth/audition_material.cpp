// Builds the audition's band-limited material with FFTW's real transforms: one
// forward transform of a wave's cycle, then one inverse transform per level of
// the harmonics that level keeps, each scaled by the inverse of the spline's
// response so that the levels sound flat.
#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <new>

#include "core/fft_plans.h"
#include "synth/audition.h"
#include "synth/audition_material.h"
#include "synth/helper_thread.h"
#include "synth/oscillator.h"

namespace {

constexpr int32_t FrameHarmonics = SamplesPerFrame / 2 - 1;
constexpr int32_t PadHarmonics = PadwaveSamples / 2 - 1;
constexpr int32_t LowestPadHarmonics = 256;
constexpr int32_t SmallestTable = 8;

// The smallest n >= minimum whose only prime factors are 2, 3 and 5: FFTW is
// fast at those lengths.
int32_t FriendlySize(int32_t minimum) {
    for (int32_t n = minimum;; ++n) {
        int32_t m = n;
        for (int32_t p : {2, 3, 5})
            while (m % p == 0) m /= p;
        if (m == 1) return n;
    }
}

AuditionLadder MakeLadder(int32_t sourceLength, int32_t top, int32_t bottom, float ratio) {
    AuditionLadder ladder;
    ladder.sourceLength = sourceLength;
    int32_t harmonics = top;
    while (ladder.count < AuditionMaxLevels) {
        const int k = ladder.count++;
        ladder.harmonics[k] = harmonics;
        const auto minimum =
            static_cast<int32_t>(std::ceil(static_cast<float>(harmonics) / MaxTableFrequency));
        ladder.size[k] = FriendlySize(std::max(minimum, SmallestTable));
        ladder.offset[k] = ladder.floats;
        ladder.floats += GuardBefore + ladder.size[k] + GuardAfter;
        const auto next = static_cast<int32_t>(std::ceil(static_cast<float>(harmonics) / ratio));
        harmonics = std::min(next, harmonics - 1);
        if (harmonics < bottom) break;
    }
    return ladder;
}

// sin(pi x) / (pi x).
float Sinc(float x) { return x == 0.0f ? 1.0f : std::sin(Pi * x) / (Pi * x); }

// FFTW plans of every length the ladders use, made once and kept to the end
// of the program: FFTW's planner is not thread-safe, its execute functions are.
struct PlanCache {
    std::mutex mutex;
    std::map<int32_t, fftwf_plan> forward;
    std::map<int32_t, fftwf_plan> inverse;

    PlanCache() = default;
    PlanCache(const PlanCache&) = delete;
    PlanCache& operator=(const PlanCache&) = delete;
    ~PlanCache() {
        for (auto* plans : {&forward, &inverse})
            for (auto& entry : *plans) DestroyPlan(entry.second);
        fftwf_cleanup();
    }
};

fftwf_plan PlanFor(int32_t n, bool forward) {
    static PlanCache cache;
    std::lock_guard<std::mutex> lock(cache.mutex);
    auto& plans = forward ? cache.forward : cache.inverse;
    auto found = plans.find(n);
    if (found != plans.end()) return found->second;
    float* real = fftwf_alloc_real(static_cast<size_t>(n));
    fftwf_complex* bins = fftwf_alloc_complex(static_cast<size_t>(n / 2 + 1));
    const fftwf_plan plan = forward ? PlanForward(n, real, bins) : PlanBackward(n, bins, real);
    fftwf_free(real);
    fftwf_free(bins);
    plans.emplace(n, plan);
    return plan;
}

// One thread's FFTW arrays, big enough for every level of one ladder.
struct Scratch {
    float* real = nullptr;
    fftwf_complex* source = nullptr;
    fftwf_complex* level = nullptr;

    explicit Scratch(const AuditionLadder& ladder) {
        const int32_t longest = std::max(ladder.size[0], ladder.sourceLength);
        real = fftwf_alloc_real(static_cast<size_t>(longest));
        source = fftwf_alloc_complex(static_cast<size_t>(ladder.sourceLength / 2 + 1));
        level = fftwf_alloc_complex(static_cast<size_t>(longest / 2 + 1));
        if (real == nullptr || source == nullptr || level == nullptr) {
            Release();
            throw std::bad_alloc();
        }
    }
    ~Scratch() { Release(); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

  private:
    void Release() {
        fftwf_free(real);
        fftwf_free(source);
        fftwf_free(level);
    }
};

// The spline prefilter of level k, harmonic h: 1 / (sinc(h / size)^6 x
// sourceLength), the last factor undoing the forward transform's gain.
std::vector<float> LevelGains(const AuditionLadder& ladder, int k) {
    std::vector<float> gains(static_cast<size_t>(ladder.harmonics[k]) + 1, 0.0f);
    const auto size = static_cast<float>(ladder.size[k]);
    for (int32_t h = 1; h <= ladder.harmonics[k]; ++h) {
        const float s = Sinc(static_cast<float>(h) / size);
        const float s3 = s * s * s;
        gains[static_cast<size_t>(h)] = 1.0f / (s3 * s3 * static_cast<float>(ladder.sourceLength));
    }
    return gains;
}

struct LadderGains {
    std::vector<float> level[AuditionMaxLevels];
};

const LadderGains& GainsOf(const AuditionLadder& ladder) {
    static const auto make = [](const AuditionLadder& l) {
        LadderGains g;
        for (int k = 0; k < l.count; ++k) g.level[k] = LevelGains(l, k);
        return g;
    };
    static const LadderGains frame = make(FrameLadder());
    static const LadderGains pad = make(PadLadder());
    return &ladder == &FrameLadder() ? frame : pad;
}

std::shared_ptr<const AuditionWave> BuildWave(const float* samples, const AuditionLadder& ladder,
                                              Scratch& scratch) {
    auto wave = std::make_shared<AuditionWave>();
    const int32_t length = ladder.sourceLength;
    wave->source.assign(samples, samples + length);
    wave->data.assign(static_cast<size_t>(ladder.floats), 0.0f);
    // A sample that is not a number would spread over the whole cycle.
    for (int32_t n = 0; n < length; ++n)
        scratch.real[n] = std::isfinite(samples[n]) ? samples[n] : 0.0f;
    fftwf_execute_dft_r2c(PlanFor(length, true), scratch.real, scratch.source);
    const LadderGains& gains = GainsOf(ladder);
    for (int k = 0; k < ladder.count; ++k) {
        const int32_t size = ladder.size[k];
        const int32_t kept = ladder.harmonics[k];
        const float* gain = gains.level[k].data();
        std::memset(scratch.level, 0, sizeof(fftwf_complex) * static_cast<size_t>(size / 2 + 1));
        for (int32_t h = 1; h <= kept; ++h) {
            scratch.level[h][0] = scratch.source[h][0] * gain[h];
            scratch.level[h][1] = scratch.source[h][1] * gain[h];
        }
        fftwf_execute_dft_c2r(PlanFor(size, false), scratch.level, scratch.real);
        float* out = wave->data.data() + ladder.offset[k];
        std::copy_n(scratch.real + size - GuardBefore, GuardBefore, out);
        std::copy_n(scratch.real, size, out + GuardBefore);
        std::copy_n(scratch.real, GuardAfter, out + GuardBefore + size);
    }
    return wave;
}

bool SameSamples(const AuditionWave* wave, const float* samples) {
    return wave != nullptr &&
           std::memcmp(wave->source.data(), samples, wave->source.size() * sizeof(float)) == 0;
}

// Frames first .. end - 1: each either taken from `previous` when its samples
// are unchanged, shared with the frame before it when they are the same, or
// built.
void BuildFrames(AuditionMaterial& material, const float* table, const AuditionMaterial* previous,
                 int first, int end) {
    Scratch scratch(FrameLadder());
    for (int f = first; f < end; ++f) {
        const float* samples = table + static_cast<ptrdiff_t>(f) * SamplesPerFrame;
        if (previous != nullptr && SameSamples(previous->frames[f].get(), samples))
            material.frames[f] = previous->frames[f];
        else if (f > first && SameSamples(material.frames[f - 1].get(), samples))
            material.frames[f] = material.frames[f - 1];
        else
            material.frames[f] = BuildWave(samples, FrameLadder(), scratch);
    }
}

std::shared_ptr<const AuditionWave> ReuseOrBuild(const std::shared_ptr<const AuditionWave>* old,
                                                 const float* samples,
                                                 const AuditionLadder& ladder) {
    if (old != nullptr && SameSamples(old->get(), samples)) return *old;
    Scratch scratch(ladder);
    return BuildWave(samples, ladder, scratch);
}

int ChangedFrames(const float* table, const AuditionMaterial* previous) {
    if (previous == nullptr) return FrameCount;
    int changed = 0;
    for (int f = 0; f < FrameCount; ++f)
        if (!SameSamples(previous->frames[f].get(), table + f * SamplesPerFrame)) ++changed;
    return changed;
}

// Below this many frames to build, a second thread costs more than it saves.
constexpr int FramesWorthAHelper = 8;

} // namespace

const AuditionLadder& FrameLadder() {
    static const AuditionLadder ladder =
        MakeLadder(SamplesPerFrame, FrameHarmonics, 1, 1.1892071f); // 2^(1/4)
    return ladder;
}

const AuditionLadder& PadLadder() {
    static const AuditionLadder ladder =
        MakeLadder(PadwaveSamples, PadHarmonics, LowestPadHarmonics, 1.4142135f); // 2^(1/2)
    return ladder;
}

int ChooseLevel(const AuditionLadder& ladder, float cycleHz, float sampleRate) {
    const float nyquist = 0.5f * sampleRate;
    for (int k = 0; k < ladder.count; ++k)
        if (static_cast<float>(ladder.harmonics[k]) * cycleHz < nyquist) return k;
    return -1;
}

AuditionMaterial* BuildAuditionMaterial(const float* table, const float* additiveFrame,
                                        const float* pad, const AuditionMaterial* previous) {
    std::unique_ptr<AuditionMaterial> material(new (std::nothrow) AuditionMaterial);
    if (!material) return nullptr;
    const bool padChanged = previous == nullptr || !SameSamples(previous->pad.get(), pad);
    const bool useHelper = padChanged || ChangedFrames(table, previous) >= FramesWorthAHelper;
    // The pad is as much work as all frames: the helper takes it when it must
    // be built, and half the frames otherwise. Each side keeps its own failure,
    // as an exception must not leave a thread.
    const int split = padChanged ? FrameCount : FrameCount / 2;
    bool callerFailed = false;
    bool helperFailed = false;
    WithHelperThread(
        useHelper,
        [&] {
            try {
                BuildFrames(*material, table, previous, 0, split);
                material->additive = ReuseOrBuild(previous ? &previous->additive : nullptr,
                                                  additiveFrame, FrameLadder());
            } catch (const std::bad_alloc&) {
                callerFailed = true;
            }
        },
        [&] {
            try {
                if (split < FrameCount) BuildFrames(*material, table, previous, split, FrameCount);
                material->pad = ReuseOrBuild(previous ? &previous->pad : nullptr, pad, PadLadder());
            } catch (const std::bad_alloc&) {
                helperFailed = true;
            }
        });
    if (callerFailed || helperFailed) return nullptr;
    return material.release();
}

void FreeAuditionMaterial(AuditionMaterial* material) { delete material; }

bool AuditionMaterialMatches(const AuditionMaterial* material, const float* table,
                             const float* additiveFrame, const float* pad) {
    return material != nullptr && ChangedFrames(table, material) == 0 &&
           SameSamples(material->additive.get(), additiveFrame) &&
           SameSamples(material->pad.get(), pad);
}

int64_t AuditionMaterialBytes(const AuditionMaterial* material) {
    if (material == nullptr) return 0;
    int64_t bytes = sizeof(AuditionMaterial);
    const AuditionWave* counted = nullptr;
    auto add = [&](const AuditionWave* wave) {
        if (wave == nullptr || wave == counted) return;
        counted = wave;
        bytes +=
            static_cast<int64_t>(sizeof(AuditionWave) +
                                 (wave->source.capacity() + wave->data.capacity()) * sizeof(float));
    };
    for (const auto& frame : material->frames) add(frame.get());
    add(material->additive.get());
    add(material->pad.get());
    return bytes;
}

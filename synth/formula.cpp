#include "synth/formula.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "core/fft_plans.h"
#include "core/random.h"
#include "core/table_shape.h"
#include "synth/formula_parser.h"

namespace {

constexpr int32_t Harmonics = SamplesPerFrame / 2 - 1; // 511: no DC, no Nyquist
constexpr int32_t Bins = SamplesPerFrame / 2 + 1;
constexpr uint32_t RandSeed = 20227u;
constexpr uint32_t RrndSeed = 40961u;

// -1..1 from the program's generator, on a sequence of the formula's own.
double RandomValue(uint32_t& state) {
    return (2.0 * NextRandom(state) - RandomMax) / static_cast<double>(RandomMax);
}

// A frame's real transforms in double, planned for this evaluation alone so
// that evaluations on several threads share nothing but FFTW's planner lock.
struct Transforms {
    double* samples = fftw_alloc_real(SamplesPerFrame);
    fftw_complex* bins = fftw_alloc_complex(Bins);
    fftw_plan forward = PlanForward(SamplesPerFrame, samples, bins);
    fftw_plan backward = PlanBackward(SamplesPerFrame, bins, samples);

    Transforms() = default;
    Transforms(const Transforms&) = delete;
    Transforms& operator=(const Transforms&) = delete;
    ~Transforms() {
        DestroyPlan(forward);
        DestroyPlan(backward);
        fftw_free(bins);
        fftw_free(samples);
    }
};

// The compiled texts of one mode (the wave, or the amplitude and the phase),
// the names they read, and those names' values for every sample (Wave mode)
// or harmonic (element n is harmonic n + 1) of the frame at hand.
struct Engine {
    FormulaMode mode = FormulaMode::Wave;
    FormulaNames names;
    mu::Parser first;
    mu::Parser second;
    double x[SamplesPerFrame], w[SamplesPerFrame], q[SamplesPerFrame], rand[SamplesPerFrame];
    double in[SamplesPerFrame], rrnd[SamplesPerFrame];
    double results[2][SamplesPerFrame];
    // rrnd costs a random sequence a frame; it is made only for texts that read it.
    bool readsRrnd = false;
    std::unique_ptr<Transforms> transforms;
};

FormulaOutcome Compile(Engine& engine, const Formula& formula) {
    FormulaOutcome outcome;
    engine.mode = formula.mode;
    if (formula.mode == FormulaMode::Wave) {
        outcome.error = CompileFormula(formula.wave, engine.names, engine.first);
        return outcome;
    }
    outcome.error = CompileFormula(formula.amplitude, engine.names, engine.first);
    if (!outcome.error.empty()) return outcome;
    outcome.error = CompileFormula(formula.phase, engine.names, engine.second);
    outcome.inPhase = !outcome.error.empty();
    return outcome;
}

// The values that stay the same in every frame: x, w, q and rand.
void SetModeValues(Engine& engine) {
    const bool wave = engine.mode == FormulaMode::Wave;
    uint32_t state = RandSeed;
    double rand[SamplesPerFrame + 1];
    for (double& r : rand) r = RandomValue(state);
    for (int32_t n = 0; n < SamplesPerFrame; ++n) {
        const double i = n;
        engine.x[n] = wave ? -1.0 + 2.0 * i / SamplesPerFrame : 0.0;
        engine.w[n] = wave ? i / SamplesPerFrame : 0.0;
        engine.q[n] = wave ? 0.0 : i + 1.0;
        engine.rand[n] = rand[wave ? n : n + 1];
    }
    engine.readsRrnd =
        ReadsName(engine.first, "rrnd") || (!wave && ReadsName(engine.second, "rrnd"));
    if (!wave) engine.transforms = std::make_unique<Transforms>();
}

// y, z, frame and rrnd for frame f of lo..hi; each frame's rrnd has a sequence
// of its own, so a frame gets the same values whichever range holds it.
void SetFrameValues(Engine& engine, int32_t lo, int32_t hi, int32_t f) {
    const double t = lo == hi ? f / static_cast<double>(FrameCount - 1)
                              : static_cast<double>(f - lo) / static_cast<double>(hi - lo);
    engine.names.z = t;
    engine.names.y = -1.0 + 2.0 * t;
    engine.names.frame = f + 1.0;
    if (!engine.readsRrnd) return;
    uint32_t state = RrndSeed + 0x9E3779B9u * static_cast<uint32_t>(f);
    for (double& r : engine.rrnd) r = RandomValue(state);
}

// The formula for the first count samples or harmonics, one at a time.
// muParser's bulk mode would take all at once, but it shares them out among
// OpenMP threads that spin while they wait: next to the audio thread, or on a
// busy machine, it ran tens of times slower, and alone it was no faster.
void Evaluate(Engine& engine, const mu::Parser& parser, int32_t count, double* results) {
    FormulaNames& names = engine.names;
    for (int32_t n = 0; n < count; ++n) {
        names.x = engine.x[n];
        names.w = engine.w[n];
        names.q = engine.q[n];
        names.in = engine.in[n];
        names.rand = engine.rand[n];
        names.rrnd = engine.rrnd[n];
        results[n] = parser.Eval();
    }
}

// Stores n values as floats, a value that is not finite as 0; returns how many were not.
int32_t StoreFinite(const double* values, float* out, int32_t n) {
    int32_t nonFinite = 0;
    for (int32_t i = 0; i < n; ++i) {
        const float v = static_cast<float>(values[i]);
        const bool finite = std::isfinite(v);
        out[i] = finite ? v : 0.0f;
        nonFinite += finite ? 0 : 1;
    }
    return nonFinite;
}

int32_t WaveFrame(Engine& engine, const float* source, float* out) {
    std::copy_n(source, SamplesPerFrame, engine.in);
    Evaluate(engine, engine.first, SamplesPerFrame, engine.results[0]);
    return StoreFinite(engine.results[0], out, SamplesPerFrame);
}

// sin(theta + phi) = Re(e^(i theta) * (sin phi - i cos phi)), and the backward
// transform adds each bin and its mirror, 2 Re(X e^(i theta)): so the bin is
// a / 2 * (sin phi - i cos phi), with no scaling after the transform.
int32_t HarmonicsFrame(Engine& engine, const float* source, float* out) {
    Transforms& t = *engine.transforms;
    std::copy_n(source, SamplesPerFrame, t.samples);
    fftw_execute(t.forward);
    for (int32_t q = 1; q <= Harmonics; ++q)
        engine.in[q - 1] = std::hypot(t.bins[q][0], t.bins[q][1]) * 2.0 / SamplesPerFrame;
    double* amplitude = engine.results[0];
    double* phase = engine.results[1];
    Evaluate(engine, engine.first, Harmonics, amplitude);
    Evaluate(engine, engine.second, Harmonics, phase);
    int32_t nonFinite = 0;
    std::fill_n(&t.bins[0][0], 2 * Bins, 0.0);
    for (int32_t q = 1; q <= Harmonics; ++q) {
        const double a = amplitude[q - 1];
        const double phi = phase[q - 1];
        if (!std::isfinite(a) || !std::isfinite(phi)) {
            ++nonFinite;
            continue;
        }
        t.bins[q][0] = a / 2.0 * std::sin(phi);
        t.bins[q][1] = -a / 2.0 * std::cos(phi);
    }
    fftw_execute(t.backward);
    return nonFinite + StoreFinite(t.samples, out, SamplesPerFrame);
}

int32_t ComputeFrame(Engine& engine, const float* table, int32_t lo, int32_t hi, int32_t f,
                     float* out) {
    SetFrameValues(engine, lo, hi, f);
    const float* source = table + static_cast<size_t>(f) * SamplesPerFrame;
    return engine.mode == FormulaMode::Wave ? WaveFrame(engine, source, out)
                                            : HarmonicsFrame(engine, source, out);
}

bool InTable(int32_t f) { return f >= 0 && f < FrameCount; }

const char* const OutsideTable = "frames outside the table";
// muParser reports its errors by exceptions; after a successful compile its
// evaluation has none to give, but none may leave the engine either.
const char* const Unevaluated = "the formula could not be evaluated";

FormulaOutcome Refused(const char* why) {
    FormulaOutcome outcome;
    outcome.error = why;
    return outcome;
}

// Compiles formula for the range lo..hi (put in order); an outcome with an
// error when it cannot run.
FormulaOutcome Prepare(Engine& engine, const Formula& formula, int32_t& lo, int32_t& hi) {
    if (lo > hi) std::swap(lo, hi);
    if (!InTable(lo) || !InTable(hi)) return Refused(OutsideTable);
    FormulaOutcome outcome = Compile(engine, formula);
    if (outcome.error.empty()) SetModeValues(engine);
    return outcome;
}

} // namespace

FormulaOutcome CheckFormula(const Formula& formula) {
    const std::unique_ptr<Engine> engine = std::make_unique<Engine>();
    return Compile(*engine, formula);
}

FormulaOutcome ComputeFormulaFrame(const Formula& formula, const float* table, int32_t lo,
                                   int32_t hi, int32_t f, float* out) {
    if (!InTable(f)) return Refused(OutsideTable);
    const std::unique_ptr<Engine> engine = std::make_unique<Engine>();
    FormulaOutcome outcome = Prepare(*engine, formula, lo, hi);
    if (!outcome.error.empty()) return outcome;
    try {
        outcome.nonFinite = ComputeFrame(*engine, table, lo, hi, f, out);
    } catch (...) {
        return Refused(Unevaluated);
    }
    return outcome;
}

FormulaOutcome ApplyFormula(const Formula& formula, float* table, int32_t lo, int32_t hi) {
    const std::unique_ptr<Engine> engine = std::make_unique<Engine>();
    FormulaOutcome outcome = Prepare(*engine, formula, lo, hi);
    if (!outcome.error.empty()) return outcome;
    std::vector<float> frames(static_cast<size_t>(hi - lo + 1) * SamplesPerFrame);
    try {
        for (int32_t f = lo; f <= hi; ++f)
            outcome.nonFinite +=
                ComputeFrame(*engine, table, lo, hi, f,
                             frames.data() + static_cast<size_t>(f - lo) * SamplesPerFrame);
    } catch (...) {
        return Refused(Unevaluated);
    }
    std::copy(frames.begin(), frames.end(), table + static_cast<size_t>(lo) * SamplesPerFrame);
    return outcome;
}

std::string NonFiniteNote(FormulaMode mode, int32_t count) {
    if (count == 0) return "";
    const bool one = count == 1;
    if (mode == FormulaMode::Wave)
        return std::to_string(count) + (one ? " sample was not a number and became 0"
                                            : " samples were not numbers and became 0");
    return std::to_string(count) + (one ? " harmonic was not a number and was left out"
                                        : " harmonics were not numbers and were left out");
}

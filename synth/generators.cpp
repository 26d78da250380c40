#include "synth/generators.h"

#include <algorithm>
#include <cmath>

#include "core/editor_state.h"
#include "core/random.h"
#include "core/sample_ops.h"
#include "synth/oscillator.h"

namespace {

constexpr float SinePhaseStep = 0.0061359233f;
constexpr float FrameLength = 1024.0f;

float* FirstFrame() { return Wavetable + RangeStart; }

// Adds amp x sin(phase) into the frame, the phase accumulating from the start
// phase by `step` once per sample. `subtract` makes it s - v instead of v + s.
void AddPartial(float* frame, float step, float amp, bool subtract) {
    float phase = StartPhase;
    for (int n = 0; n < SamplesPerFrame; ++n) {
        const float v = Sine(phase) * amp;
        frame[n] = subtract ? frame[n] - v : v + frame[n];
        phase = step + phase;
    }
}

// Saw and Square share the step form 2 pi / ((1 / h) x 1024) and amp = (1 / h) x factor.
void AddReciprocalPartials(float* frame, int32_t firstH, int32_t stride, float factor) {
    for (int32_t h = firstH; h < PartialLimit; h += stride) {
        const float inv = 1.0f / static_cast<float>(h);
        AddPartial(frame, FullTurn / (inv * FrameLength), inv * factor, false);
    }
}

void ReplicateInWavetableView() {
    if (ViewMode == ViewWavetable) ReplicateFirstFrame();
}

void SawIntoFirstFrame() {
    float* frame = FirstFrame();
    std::fill(frame, frame + SamplesPerFrame, 0.0f);
    AddReciprocalPartials(frame, 1, 1, 0.25f);
}

} // namespace

void ReplicateFirstFrame() {
    ComputeEditRange();
    float scratch[SamplesPerFrame];
    std::copy_n(Wavetable + RangeStart, SamplesPerFrame, scratch);
    int k = 0;
    for (int32_t i = RangeStart; i < RangeEnd; ++i) {
        Wavetable[i] = scratch[k];
        if (++k == SamplesPerFrame) k = 0;
    }
}

void GenerateSine() {
    BeginTableEdit();
    float* frame = FirstFrame();
    float phase = StartPhase;
    for (int n = 0; n < SamplesPerFrame; ++n) {
        frame[n] = Sine(phase) * 0.35f;
        phase = phase + SinePhaseStep;
    }
    PeakNormalize(frame, SamplesPerFrame);
    ReplicateInWavetableView();
}

void GenerateSaw() {
    BeginTableEdit();
    SawIntoFirstFrame();
    ReplicateInWavetableView();
}

// The falling saw: the saw with every sign flipped. One undo snapshot only.
void GenerateRamp() {
    GenerateSaw();
    FlipSigns(FirstFrame(), SamplesPerFrame);
    ReplicateInWavetableView();
}

void GenerateTriangle() {
    BeginTableEdit();
    float* frame = FirstFrame();
    std::fill(frame, frame + SamplesPerFrame, 0.0f);
    bool subtract = false;
    for (int32_t h = 1; h < PartialLimit; h += 2) {
        // The step here is 2 pi / (1024 / h), which rounds differently from the
        // Saw and Square form for some h.
        const float step = FullTurn / (FrameLength / static_cast<float>(h));
        const float amp = 0.25f / static_cast<float>(h * h);
        AddPartial(frame, step, amp, subtract);
        subtract = !subtract;
    }
    ReplicateInWavetableView();
}

void GenerateSquare() {
    BeginTableEdit();
    float* frame = FirstFrame();
    std::fill(frame, frame + SamplesPerFrame, 0.0f);
    AddReciprocalPartials(frame, 1, 2, 0.4f);
    ReplicateInWavetableView();
}

void GenerateRandom() {
    BeginTableEdit();
    const int32_t end = ViewMode == ViewWavetable ? RangeEnd : FirstFrameEnd;
    for (int32_t i = RangeStart; i < end; ++i)
        Wavetable[i] = static_cast<float>(NextRandom() % 70 - 35) * 0.01f;
}

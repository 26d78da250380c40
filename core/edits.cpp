#include "core/edits.h"

#include <algorithm>
#include <cstdint>

#include "core/editor_state.h"
#include "core/sample_ops.h"
#include "synth/generators.h"

namespace {

// Single-precision constants of Amplify and Attenuate.
constexpr float AmplifyFactor = 1.1f;
constexpr float AttenuateFactor = 0.9f;

// Undo snapshot first, then the range, before anything is read or written.
void BeginEdit() {
    TakeUndoSnapshot();
    ComputeEditRange();
}

void Scale(int32_t first, int32_t end, float factor) {
    for (int32_t i = first; i < end; ++i) Wavetable[i] = Wavetable[i] * factor;
}

void Zero(int32_t first, int32_t end) { std::fill(Wavetable + first, Wavetable + end, 0.0f); }

float Mix(float clip, float sample) { return (clip + sample) * 0.5f; }

// The Wavetable-view paste walk: from the "Wave" frame towards the "Offset"
// frame. Upward (Wave below Offset) it writes min(clipboard length, range)
// samples from the start of the range; downward (Wave at or above Offset) it
// writes clipboard frame j onto frame hi - j for every frame of the range.
template <typename Write>
void PasteWalk(Write write) {
    if (CurrentFrame < OffsetFrame) {
        for (int32_t k = 0; k < TableClipboardLength && RangeStart + k < RangeEnd; ++k)
            write(RangeStart + k, TableClipboard[k]);
        return;
    }
    const int32_t lo = RangeStart / SamplesPerFrame;
    const int32_t hi = LastFrameStart / SamplesPerFrame;
    for (int32_t j = 0; j <= hi - lo; ++j)
        for (int32_t k = 0; k < SamplesPerFrame; ++k)
            write((hi - j) * SamplesPerFrame + k, TableClipboard[j * SamplesPerFrame + k]);
}

}  // namespace

void AmplifyFrame() {
    BeginEdit();
    Scale(RangeStart, FirstFrameEnd, AmplifyFactor);
}

void AmplifyRange() {
    BeginEdit();
    Scale(RangeStart, RangeEnd, AmplifyFactor);
}

void AttenuateFrame() {
    BeginEdit();
    Scale(RangeStart, FirstFrameEnd, AttenuateFactor);
}

void AttenuateRange() {
    BeginEdit();
    Scale(RangeStart, RangeEnd, AttenuateFactor);
}

void InvertFrame() {
    BeginEdit();
    FlipSigns(Wavetable + RangeStart, FirstFrameEnd - RangeStart);
}

void InvertRange() {
    BeginEdit();
    FlipSigns(Wavetable + RangeStart, RangeEnd - RangeStart);
}

// Mirrors the frame end for end, reading from the snapshot of the same samples.
void ReverseFrame() {
    BeginEdit();
    for (int32_t k = 0; k < SamplesPerFrame; ++k)
        Wavetable[RangeStart + k] = UndoSnapshot[FirstFrameEnd - 1 - k];
}

// Reverses the order of the frames lo..hi; each frame keeps its samples' order.
void ReverseRange() {
    BeginEdit();
    const int32_t lo = RangeStart / SamplesPerFrame;
    const int32_t hi = LastFrameStart / SamplesPerFrame;
    for (int32_t j = 0; j <= hi - lo; ++j)
        std::copy_n(UndoSnapshot + (hi - j) * SamplesPerFrame, SamplesPerFrame,
                    Wavetable + (lo + j) * SamplesPerFrame);
}

void NormalizeFrame() {
    BeginEdit();
    PeakNormalize(Wavetable + RangeStart, FirstFrameEnd - RangeStart);
}

// One common peak and one gain for all frames of the range.
void NormalizeRange() {
    BeginEdit();
    PeakNormalize(Wavetable + RangeStart, RangeEnd - RangeStart);
}

void CutFrame() {
    BeginEdit();
    Zero(RangeStart, FirstFrameEnd);
}

void CutRange() {
    BeginEdit();
    Zero(RangeStart, RangeEnd);
}

void ClearFrame() {
    BeginEdit();
    Zero(RangeStart, FirstFrameEnd);
}

// The whole table, whatever the range; the knob frames stay.
void ClearTable() {
    BeginEdit();
    Zero(0, TableSamples);
}

// Copy changes nothing in the table but still replaces the undo snapshot.
void CopyFrame() {
    BeginEdit();
    std::copy_n(Wavetable + RangeStart, SamplesPerFrame, FrameClipboard);
}

void CopyRange() {
    BeginEdit();
    TableClipboardLength = RangeEnd - RangeStart;
    std::copy_n(Wavetable + RangeStart, TableClipboardLength, TableClipboard);
}

void PasteFrame() {
    BeginEdit();
    std::copy_n(FrameClipboard, SamplesPerFrame, Wavetable + RangeStart);
}

void PasteRange() {
    BeginEdit();
    PasteWalk([](int32_t i, float clip) { Wavetable[i] = clip; });
}

void PasteMixFrame() {
    BeginEdit();
    for (int32_t k = 0; k < SamplesPerFrame; ++k)
        Wavetable[RangeStart + k] = Mix(FrameClipboard[k], Wavetable[RangeStart + k]);
}

void PasteMixRange() {
    BeginEdit();
    PasteWalk([](int32_t i, float clip) { Wavetable[i] = Mix(clip, Wavetable[i]); });
}

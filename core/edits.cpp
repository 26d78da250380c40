#include "core/edits.h"

#include <algorithm>
#include <cstdint>

#include "core/editor_state.h"
#include "core/sample_ops.h"

namespace {

// Single-precision constants of Amplify and Attenuate.
constexpr float AmplifyFactor = 1.1f;
constexpr float AttenuateFactor = 0.9f;

void Scale(int32_t first, int32_t end, float factor) {
    for (int32_t i = first; i < end; ++i) Wavetable[i] = Wavetable[i] * factor;
}

void Zero(int32_t first, int32_t end) { std::fill(Wavetable + first, Wavetable + end, 0.0f); }

float Mix(float clip, float sample) { return (clip + sample) * 0.5f; }

// The Wavetable-view paste walk: from the "Wave" frame towards the "Offset"
// frame. Upward (Wave below Offset) it writes min(clipboard length, range)
// samples from the start of the range; downward (Wave at or above Offset) it
// writes clipboard frame j onto frame hi - j for every frame of the range.
template <typename Write> void PasteWalk(Write write) {
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

} // namespace

void AmplifyFrame() {
    BeginTableEdit();
    Scale(RangeStart, FirstFrameEnd, AmplifyFactor);
}

void AmplifyRange() {
    BeginTableEdit();
    Scale(RangeStart, RangeEnd, AmplifyFactor);
}

void AttenuateFrame() {
    BeginTableEdit();
    Scale(RangeStart, FirstFrameEnd, AttenuateFactor);
}

void AttenuateRange() {
    BeginTableEdit();
    Scale(RangeStart, RangeEnd, AttenuateFactor);
}

void InvertFrame() {
    BeginTableEdit();
    FlipSigns(Wavetable + RangeStart, FirstFrameEnd - RangeStart);
}

void InvertRange() {
    BeginTableEdit();
    FlipSigns(Wavetable + RangeStart, RangeEnd - RangeStart);
}

// Mirrors the frame end for end, reading from the snapshot of the same samples.
void ReverseFrame() {
    BeginTableEdit();
    for (int32_t k = 0; k < SamplesPerFrame; ++k)
        Wavetable[RangeStart + k] = UndoSnapshot[FirstFrameEnd - 1 - k];
}

// Reverses the order of the frames lo..hi; each frame keeps its samples' order.
void ReverseRange() {
    BeginTableEdit();
    const int32_t lo = RangeStart / SamplesPerFrame;
    const int32_t hi = LastFrameStart / SamplesPerFrame;
    for (int32_t j = 0; j <= hi - lo; ++j)
        std::copy_n(UndoSnapshot + (hi - j) * SamplesPerFrame, SamplesPerFrame,
                    Wavetable + (lo + j) * SamplesPerFrame);
}

void NormalizeFrame() {
    BeginTableEdit();
    PeakNormalize(Wavetable + RangeStart, FirstFrameEnd - RangeStart);
}

// One common peak and one gain for all frames of the range.
void NormalizeRange() {
    BeginTableEdit();
    PeakNormalize(Wavetable + RangeStart, RangeEnd - RangeStart);
}

void CutFrame() {
    BeginTableEdit();
    Zero(RangeStart, FirstFrameEnd);
}

void CutRange() {
    BeginTableEdit();
    Zero(RangeStart, RangeEnd);
}

void ClearFrame() {
    BeginTableEdit();
    Zero(RangeStart, FirstFrameEnd);
}

// The whole table, whatever the range; the knob frames stay.
void ClearTable() {
    BeginTableEdit();
    Zero(0, TableSamples);
}

// Copy changes nothing in the table but still replaces the undo snapshot.
void CopyFrame() {
    BeginTableEdit();
    std::copy_n(Wavetable + RangeStart, SamplesPerFrame, FrameClipboard);
}

void CopyRange() {
    BeginTableEdit();
    TableClipboardLength = RangeEnd - RangeStart;
    std::copy_n(Wavetable + RangeStart, TableClipboardLength, TableClipboard);
}

void PasteFrame() {
    BeginTableEdit();
    std::copy_n(FrameClipboard, SamplesPerFrame, Wavetable + RangeStart);
}

void PasteRange() {
    BeginTableEdit();
    PasteWalk([](int32_t i, float clip) { Wavetable[i] = clip; });
}

void PasteMixFrame() {
    BeginTableEdit();
    for (int32_t k = 0; k < SamplesPerFrame; ++k)
        Wavetable[RangeStart + k] = Mix(FrameClipboard[k], Wavetable[RangeStart + k]);
}

void PasteMixRange() {
    BeginTableEdit();
    PasteWalk([](int32_t i, float clip) { Wavetable[i] = Mix(clip, Wavetable[i]); });
}

// Paint and drag costs of the main window on the headless raster.
#include <benchmark/benchmark.h>

#include <cmath>

#include "app/main_window.h"
#include "core/editor_state.h"
#include "platform/headless.h"

namespace {

WindowHandle OpenWindow() {
    HeadlessCreateWindow(MainWindowProc);
    NewDocument();
    MainWindowProc(HeadlessWindow(), WM_CREATE, 0, 0);
    // Busy material: every frame a different sine, every harmonic sounding, a
    // full-scale padwave, so every trace and slider draws its longest lines.
    for (int i = 0; i < TableSamples; ++i)
        Wavetable[i] = 0.35f * float(std::sin(double(i % SamplesPerFrame) * (1 + i / 20480) *
                                              6.2831853 / SamplesPerFrame));
    for (int i = 0; i < PadwaveSamples; ++i)
        PadwaveBuffer[i] = 0.33f * float(std::sin(double(i) * 0.001));
    for (int i = 0; i < HarmonicCount; ++i) Harmonics[i] = 3 * i;
    CurrentFrame = 10;
    OffsetFrame = 60;
    return HeadlessWindow();
}

// A paint with backgrounds, as after a command or a press; the Additive view's
// paint includes its SynthesizeAdditive.
void FullRepaintOfView(benchmark::State& state) {
    WindowHandle window = OpenWindow();
    ViewMode = ViewWaveform + int32_t(state.range(0));
    for (auto _ : state) {
        FullRepaint = true;
        MainWindowProc(window, WM_PAINT, 0, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FullRepaintOfView)->DenseRange(0, 3)->ArgName("view")->Unit(benchmark::kMicrosecond);

// One held move of the Wave knob, from the event to the finished raster, in the
// Wavetable view (the heaviest stack highlight).
void KnobDragMove(benchmark::State& state) {
    WindowHandle window = OpenWindow();
    ViewMode = ViewWavetable;
    MainWindowProc(window, WM_LBUTTONDOWN, 0, PointParam(57, 300));
    MainWindowProc(window, WM_PAINT, 0, 0);
    int y = 300;
    for (auto _ : state) {
        y = y == 300 ? 250 : 300;
        MainWindowProc(window, WM_MOUSEMOVE, 0, PointParam(57, y));
        MainWindowProc(window, WM_PAINT, 0, 0);
        benchmark::ClobberMemory();
    }
    MainWindowProc(window, WM_LBUTTONUP, 0, 0);
}
BENCHMARK(KnobDragMove)->Unit(benchmark::kMicrosecond);

}  // namespace

// Paint and drag costs of the main window on the headless raster. At a screen
// scale above 1 each paint also enlarges the raster as the real window shows
// it (scale 1 is the baseline: the window shows the raster itself).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "app/commands.h"
#include "app/main_window.h"
#include "core/editor_state.h"
#include "platform/common/screen_scale.h"
#include "platform/headless.h"

namespace {

WindowHandle OpenWindow() {
    InstallCommands();
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

// The real window's paint: the paint sequence, then the raster enlarged into
// the buffer that is kept from paint to paint.
void PaintAtScale(WindowHandle window, int scale, std::vector<uint8_t>& enlarged) {
    MainWindowProc(window, WM_PAINT, 0, 0);
    if (scale > 1) EnlargeRaster(ClientSurface(window), scale, enlarged);
}

// A paint with backgrounds, as after a command or a press; the Additive view's
// paint includes its SynthesizeAdditive.
void FullRepaintOfView(benchmark::State& state) {
    WindowHandle window = OpenWindow();
    ViewMode = ViewWaveform + int32_t(state.range(0));
    std::vector<uint8_t> enlarged;
    for (auto _ : state) {
        FullRepaint = true;
        PaintAtScale(window, int(state.range(1)), enlarged);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FullRepaintOfView)
    ->ArgsProduct({{0, 1, 2, 3}, {1, 2}})
    ->ArgNames({"view", "scale"})
    ->Unit(benchmark::kMicrosecond);

// One held move of the Wave knob, from the event to the finished raster, in the
// Wavetable view (the heaviest stack highlight).
void KnobDragMove(benchmark::State& state) {
    WindowHandle window = OpenWindow();
    ViewMode = ViewWavetable;
    const int scale = int(state.range(0));
    std::vector<uint8_t> enlarged;
    MainWindowProc(window, WM_LBUTTONDOWN, 0, PointParam(57, 300));
    PaintAtScale(window, scale, enlarged);
    int y = 300;
    for (auto _ : state) {
        y = y == 300 ? 250 : 300;
        MainWindowProc(window, WM_MOUSEMOVE, 0, PointParam(57, y));
        PaintAtScale(window, scale, enlarged);
        benchmark::ClobberMemory();
    }
    MainWindowProc(window, WM_LBUTTONUP, 0, 0);
}
BENCHMARK(KnobDragMove)->Arg(1)->Arg(2)->ArgName("scale")->Unit(benchmark::kMicrosecond);

} // namespace

#include "ui/displays.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "core/editor_state.h"
#include "synth/additive.h"
#include "ui/control_panel.h"
#include "ui/palette.h"

namespace {

// Truncation toward zero of a pixel offset formed in single precision. Sample
// values are never clamped, so the offset is first held to +-2^27 pixels, far
// off the raster but safe for the coordinate arithmetic; a NaN sample sits on
// the centre line.
int Truncate(float offset) {
    const float limit = 134217727.0f;
    if (std::isnan(offset)) return 0;
    return int(std::clamp(offset, -limit, limit));
}

int SampleOffset(float sample) { return Truncate(100.0f * sample); }

// The wave box: every 4th sample, 2 pixels apart, around the centre line y = 100,
// then the two axes over the trace. The first point is never limited.
void DrawWaveBox(Surface& surface, const float* f, bool limited) {
    FillRect(surface, 194, 50, 706, 150, DarkGrey);
    int x = 194;
    int y = 100 + SampleOffset(f[0]);
    for (int j = 0; j < 256; ++j) {
        int nextY = 100 + SampleOffset(f[4 * j]);
        if (limited) nextY = std::clamp(nextY, 50, 150);
        const int nextX = 196 + 2 * j;
        DrawLine(surface, x, y, nextX, nextY, Red);
        x = nextX;
        y = nextY;
    }
    DrawLine(surface, 194, 100, 706, 100, Grey);
    DrawLine(surface, 450, 50, 450, 150, Grey);
}

bool Highlighted(int k) {
    if (ViewMode == ViewWavetable)
        return std::min(CurrentFrame, OffsetFrame) <= k && k <= std::max(CurrentFrame, OffsetFrame);
    return k == CurrentFrame;
}

} // namespace

void FillBackgrounds(Surface& surface) {
    FillRect(surface, 0, 0, 128, 600, PanelColour);
    FillRect(surface, 128, 0, 768, 600, Black);
}

void DrawFrameBox(Surface& surface) {
    ComputeEditRange();
    DrawWaveBox(surface, Wavetable + RangeStart, true);
}

void DrawAdditiveBox(Surface& surface) { DrawWaveBox(surface, AdditiveFrame, false); }

void DrawFrameStack(Surface& surface) {
    for (int k = 0; k < FrameCount; ++k) {
        const Rgb pen = Highlighted(k) ? Red : Grey;
        const float* s = Wavetable + k * SamplesPerFrame;
        const int baseline = 501 - 3 * k;
        int x = 144 + k;
        int y = baseline + SampleOffset(s[0]);
        for (int j = 1; j < 128; ++j) {
            const int nextX = 144 + k + 4 * j;
            const int nextY = baseline + SampleOffset(s[8 * j]);
            DrawLine(surface, x, y, nextX, nextY, pen);
            x = nextX;
            y = nextY;
        }
    }
}

void DrawPadwave(Surface& surface) {
    for (int c = 0; c < 512; ++c) {
        const int x = 186 + c;
        const float s = PadwaveBuffer[256 * c];
        DrawLine(surface, x, 300, x, Truncate(300.0f - 256.0f * s), Grey);
        DrawLine(surface, x, 300, x, Truncate(300.0f + 256.0f * s), Grey);
    }
    DrawLine(surface, 186, 300, 698, 300, Grey);
    for (int i = 0; i < 32; ++i) DrawLine(surface, 186 + 16 * i, 292, 186 + 16 * i, 308, Grey);
}

// A slider's dark part starts `level` pixels below its top: level 0 fills the
// whole track, 100 leaves it grey. Loaded levels may lie outside 0..100.
void DrawHarmonicSliders(Surface& surface) {
    SynthesizeAdditive();
    for (int i = 0; i < HarmonicCount; ++i) {
        const int left = HarmonicSlider.left[i], top = HarmonicSlider.top[i];
        const int right = HarmonicSlider.right[i], bottom = HarmonicSlider.bottom[i];
        const long long mark =
            std::clamp<long long>(static_cast<long long>(top) + Harmonics[i], INT_MIN, INT_MAX);
        FillRect(surface, left, top, right, bottom, Grey);
        FillRect(surface, left, int(mark), right, bottom, DarkGrey);
    }
    DrawTextCentered(surface, 194, 300, "F", White, FontFace::Small);
    for (int n = 4; n <= 32; n += 4)
        DrawTextCentered(surface, 242 + 16 * (n - 4), 300, std::to_string(n), White,
                         FontFace::Small);
}

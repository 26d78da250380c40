#include "ui/formula_preview.h"

#include <algorithm>
#include <cmath>

#include "core/table_shape.h"
#include "synth/frame_spectrum.h"
#include "ui/palette.h"

namespace {

constexpr int Left = 4;
constexpr int Right = Left + 512;
constexpr int WaveTop = 4;
constexpr int WaveBottom = 124;
constexpr int WaveCentre = (WaveTop + WaveBottom) / 2;
constexpr float PixelsPerUnit = 56.0f;
constexpr int BarsTop = 132;
constexpr int Decibels = 96; // one pixel each
constexpr int BarsBottom = BarsTop + Decibels;
constexpr int Bars = 128;

// The row of a sample, held to the wave box; a NaN sits on the centre line.
int SampleRow(float sample) {
    const float offset = PixelsPerUnit * sample;
    if (std::isnan(offset)) return WaveCentre;
    const float reach = static_cast<float>(WaveCentre - WaveTop);
    return WaveCentre + static_cast<int>(std::clamp(offset, -reach, reach));
}

void DrawTrace(Surface& raster, const float* frame, Rgb pen) {
    int y = SampleRow(frame[0]);
    for (int j = 1; j < 512; ++j) {
        const int nextY = SampleRow(frame[2 * j]);
        DrawLine(raster, Left + j - 1, y, Left + j, nextY, pen);
        y = nextY;
    }
}

void DrawHarmonics(Surface& raster, const float* frame) {
    FillRect(raster, Left, BarsTop, Right, BarsBottom, DarkGrey);
    for (int level = 24; level < Decibels; level += 24)
        DrawLine(raster, Left, BarsTop + level, Right, BarsTop + level, Black);
    Bin bins[FrameBins];
    FrameToSpectrum(frame, bins);
    float strongest = 0.0f;
    for (int k = 1; k <= HighestHarmonic; ++k) strongest = std::fmax(strongest, std::abs(bins[k]));
    if (!(strongest > 0.0f) || !std::isfinite(strongest)) return;
    for (int k = 1; k <= Bars; ++k) {
        const float decibels = 20.0f * std::log10(std::abs(bins[k]) / strongest);
        const float height = static_cast<float>(Decibels) + decibels;
        if (!(height >= 1.0f)) continue;
        const int left = Left + 4 * (k - 1);
        FillRect(raster, left, BarsBottom - static_cast<int>(height), left + 3, BarsBottom, Red);
    }
}

} // namespace

void DrawFormulaPreview(Surface& raster, const float* table, int32_t first, int32_t last,
                        int32_t wave) {
    FillRect(raster, 0, 0, raster.width, raster.height, Black);
    FillRect(raster, Left, WaveTop, Right, WaveBottom, DarkGrey);
    DrawLine(raster, Left, WaveCentre, Right, WaveCentre, Black);
    for (int32_t quarter = 0; quarter <= 4; ++quarter)
        DrawTrace(raster, table + (first + (last - first) * quarter / 4) * SamplesPerFrame, Grey);
    const float* frame = table + wave * SamplesPerFrame;
    DrawTrace(raster, frame, Red);
    DrawHarmonics(raster, frame);
}

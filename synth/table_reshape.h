// A whole table brought to another shape and back: the frames other synths
// read, made from the table's 100 frames of 1024 samples, and a table made
// from frames of any count and length.
#pragma once

#include <cstddef>
#include <cstdint>

#include "synth/frames_between.h"

// `frames` frames (>= 1) of `frameSize` samples (>= 2) at `out`: frame j of
// the table's 100 placed by the frames-between rule, then band-limited to its
// length.
void ReshapeTable(const float* table, int32_t frames, int32_t frameSize, FramesBetween how,
                  float* out);

// Scales the samples by one factor so that the loudest is at -0.1 dBFS
// (10^(-0.1/20) of full scale); silence stays silent.
void ScaleToLoudest(float* samples, size_t count);

// `count` frames of `frameSize` samples brought to `to` frames of 1024 samples
// at `out`: each band-limited to 1024 samples, then placed by the
// frames-between rule.
void FitFrames(const float* frames, int32_t count, int32_t frameSize, int32_t to, FramesBetween how,
               float* out);

// The table's 100 frames of 1024 samples from `count` frames of `frameSize`
// samples, each band-limited to 1024 samples: with `fit` placed by the
// frames-between rule, else the first 100 of them frame for frame and the
// frames after those silent.
void TableFromFrames(const float* frames, int32_t count, int32_t frameSize, bool fit,
                     FramesBetween how, float* table);

// The import dialog's picture of a file's level over time, with the span to
// import shaded; both backends draw it alike, into the dialog's own raster.
#pragma once

#include "platform/common/surface.h"
#include "platform/platform.h"

constexpr int EnvelopePictureWidth = 440;
constexpr int EnvelopePictureHeight = 64;
// The picture shows levels from this many dB below the loudest up.
constexpr float EnvelopePictureRange = 60.0f;

constexpr Rgb EnvelopeBackground = {32, 32, 40};
constexpr Rgb EnvelopeSpanBackground = {48, 80, 128};
constexpr Rgb EnvelopeLevel = {128, 128, 128};
constexpr Rgb EnvelopeSpanLevel = {160, 220, 255};

// The dialog's envelope over its `seconds`, one column per 1/440 of them: a bar
// as high as the loudest level in the column (the top at 0 dB, nothing at
// EnvelopePictureRange below), and the columns whose middle lies within
// `from` .. `to` shaded.
Surface EnvelopePicture(const ImportDialog& dialog, double from, double to);

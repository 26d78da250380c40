// The two bitmap strips of the control panel. resources/make_strips draws them
// when the program is built and the build embeds its output.
#pragma once

#include "platform/common/surface.h"
#include "platform/platform.h"

// The control panel's colour: the strips' images stand on it and blend into it.
constexpr Rgb PanelColour{131, 133, 112};

constexpr int StripImages = 101;
constexpr int LedWidth = 48;
constexpr int LedHeight = 32;
constexpr int KnobSize = 50;

// Pixels of the embedded strips, rows top to bottom, R, G, B per pixel.
extern const char EmbeddedLedStrip[];  // LedWidth x LedHeight * StripImages
extern const char EmbeddedKnobStrip[]; // KnobSize x KnobSize * StripImages

// Copies the embedded strip with this resource id into `bitmap`; false for any
// other id.
bool LoadEmbeddedBitmap(int id, Bitmap& bitmap);

// The fixed colours of the panel and the displays.
#pragma once

#include "platform/common/strips.h"
#include "platform/common/surface.h"
constexpr Rgb Black{0, 0, 0};
constexpr Rgb DarkGrey{64, 64, 64};
constexpr Rgb Grey{128, 128, 128};
constexpr Rgb Red{225, 0, 0};
constexpr Rgb White{255, 255, 255};

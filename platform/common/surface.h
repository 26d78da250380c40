// The retained RGB raster of the client area. Paints draw into it with the
// routines below; the window only shows it, so what a test reads here is what
// the user sees, pixel for pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

struct Surface {
    int width = ClientWidth;
    int height = ClientHeight;
    std::vector<uint8_t> pixels = std::vector<uint8_t>(size_t(ClientWidth) * ClientHeight * 3);

    Rgb At(int x, int y) const {
        const uint8_t* p = &pixels[(size_t(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

// Our own bitmap fonts for printable ASCII (32..126), drawn by us.
#pragma once

#include <cstdint>

struct Font {
    int width;  // glyph cell width in pixels
    int height; // glyph cell height in pixels
    // Glyph rows of character c, top to bottom: `height` bytes, bit 7 the leftmost pixel.
    const uint8_t* (*glyph)(char c);
};

extern const Font TerminalFont; // 8 x 12
extern const Font SmallFont;    // the default font of slider labels

#include "platform/common/screen_scale.h"

#include <cstring>

#include "platform/common/surface.h"

int ScaleForDpi(double dpi) {
    const double ratio = dpi / 96.0;
    if (!(ratio >= 1.5)) return 1; // also for a dpi that is not a number
    if (ratio <= 2.5) return 2;
    if (ratio <= 3.5) return 3;
    return 4;
}

void EnlargeRaster(const Surface& surface, int scale, std::vector<uint8_t>& out) {
    const size_t rowBytes = size_t(surface.width) * scale * 3;
    out.resize(rowBytes * surface.height * scale);
    uint8_t* row = out.data();
    for (int y = 0; y < surface.height; ++y) {
        const uint8_t* source = &surface.pixels[size_t(y) * surface.width * 3];
        uint8_t* target = row;
        for (int x = 0; x < surface.width; ++x, source += 3) {
            for (int k = 0; k < scale; ++k, target += 3) {
                target[0] = source[0];
                target[1] = source[1];
                target[2] = source[2];
            }
        }
        // The row's other copies repeat the one just written.
        for (int k = 1; k < scale; ++k) std::memcpy(row + rowBytes * k, row, rowBytes);
        row += rowBytes * scale;
    }
}

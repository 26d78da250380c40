#include "platform/common/strips.h"

namespace {

void CopyStrip(const char* pixels, int width, int height, Bitmap& bitmap) {
    bitmap.width = width;
    bitmap.height = height;
    const uint8_t* begin = reinterpret_cast<const uint8_t*>(pixels);
    bitmap.rgb.assign(begin, begin + size_t(width) * height * 3);
}

} // namespace

bool LoadEmbeddedBitmap(int id, Bitmap& bitmap) {
    if (id == LedStripId) {
        CopyStrip(EmbeddedLedStrip, LedWidth, LedHeight * StripImages, bitmap);
        return true;
    }
    if (id == KnobStripId) {
        CopyStrip(EmbeddedKnobStrip, KnobSize, KnobSize * StripImages, bitmap);
        return true;
    }
    return false;
}

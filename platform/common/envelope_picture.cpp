#include "platform/common/envelope_picture.h"

#include <algorithm>
#include <cmath>

namespace {

// The loudest level of the envelope within `start` .. `end` seconds, or the
// one there when the envelope's steps are wider than that.
float LevelWithin(const ImportDialog& dialog, double start, double end) {
    const int64_t last = static_cast<int64_t>(dialog.envelope.size()) - 1;
    const int64_t first =
        std::clamp<int64_t>(static_cast<int64_t>(std::floor(start / dialog.envelopeStep)), 0, last);
    const int64_t stop = std::clamp<int64_t>(
        static_cast<int64_t>(std::ceil(end / dialog.envelopeStep)) - 1, first, last);
    float level = -EnvelopePictureRange;
    for (int64_t k = first; k <= stop; ++k)
        level = std::max(level, dialog.envelope[static_cast<size_t>(k)]);
    return level;
}

} // namespace

Surface EnvelopePicture(const ImportDialog& dialog, double from, double to) {
    Surface picture{EnvelopePictureWidth, EnvelopePictureHeight,
                    std::vector<uint8_t>(size_t(EnvelopePictureWidth) * EnvelopePictureHeight * 3)};
    const bool drawn =
        dialog.seconds > 0.0 && dialog.envelopeStep > 0.0 && !dialog.envelope.empty();
    const double column = dialog.seconds / EnvelopePictureWidth;
    for (int x = 0; x < EnvelopePictureWidth; ++x) {
        const double middle = (x + 0.5) * column;
        const bool inSpan = drawn && middle >= from && middle <= to;
        FillRect(picture, x, 0, x + 1, EnvelopePictureHeight,
                 inSpan ? EnvelopeSpanBackground : EnvelopeBackground);
        if (!drawn) continue;
        const float level = LevelWithin(dialog, x * column, (x + 1) * column);
        const int bar = static_cast<int>(std::lround((level + EnvelopePictureRange) /
                                                     EnvelopePictureRange * EnvelopePictureHeight));
        FillRect(picture, x, EnvelopePictureHeight - bar, x + 1, EnvelopePictureHeight,
                 inSpan ? EnvelopeSpanLevel : EnvelopeLevel);
    }
    return picture;
}

// Draws the two bitmap strips of the control panel and writes them as a C++
// source file that embeds their pixels, or draws the program's icon as a PNG:
//
//   make_strips OUTPUT.cpp [LED.ppm KNOB.ppm]
//   make_strips --icon SIZE ICON.png
//
// LED strip: image k shows the number k as red seven-segment digits on a dark
// red field sunk into a grey bevel. Knob strip: image k shows a black knob with a
// brushed-metal cap whose white dot turns from seven o'clock (k = 0) through
// twelve (k = 50) to five o'clock (k = 100). Icon: a black display on a tile of
// the panel's colour, showing a few frames of a table in perspective, the front
// one red, as the Wavetable view does. Every pixel is the mean of a grid of
// sample points, so edges are smooth.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/common/strips.h"

namespace {

struct Colour {
    float r, g, b;
};

Colour Mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Grey(float v) { return {v, v, v}; }

float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

constexpr float Pi = 3.14159265f;
constexpr int SamplesPerAxis = 4;
const Colour Panel = {PanelColour.r, PanelColour.g, PanelColour.b};

struct Image {
    int width;
    int height;
    std::vector<uint8_t> rgb;
};

// Fills the w x h image whose top row is `top`; shade(x, y) gives the colour at
// a point in the image's own coordinates.
template <typename Shade> void Supersample(Image& strip, int top, int w, int h, Shade shade) {
    const float step = 1.0f / SamplesPerAxis;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Colour sum = {0, 0, 0};
            for (int j = 0; j < SamplesPerAxis; ++j) {
                for (int i = 0; i < SamplesPerAxis; ++i) {
                    const Colour c = shade(x + (i + 0.5f) * step, y + (j + 0.5f) * step);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            }
            const float n = SamplesPerAxis * SamplesPerAxis;
            uint8_t* p = &strip.rgb[(size_t(top + y) * strip.width + x) * 3];
            p[0] = static_cast<uint8_t>(std::lround(Clamp(sum.r / n, 0, 255)));
            p[1] = static_cast<uint8_t>(std::lround(Clamp(sum.g / n, 0, 255)));
            p[2] = static_cast<uint8_t>(std::lround(Clamp(sum.b / n, 0, 255)));
        }
    }
}

// ---- LED digits ----

const Colour FieldColour = {71, 0, 0};
const Colour LitColour = {236, 0, 0};
// The field covers x 5..41 and y 6..25; the bevel is three pixels wide around it.
constexpr float FieldLeft = 5, FieldTop = 6, FieldRight = 42, FieldBottom = 26;
constexpr float BevelWidth = 3;

// Segments a..g as bits 0..6: a top, b upper right, c lower right, d bottom,
// e lower left, f upper left, g middle.
const uint8_t DigitSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
constexpr float DigitWidth = 9, DigitHeight = 16, DigitPitch = 12;
constexpr float HalfStroke = 1.2f, SegmentGap = 0.5f, Slant = 0.1f;
constexpr float DigitTop = FieldTop + 2;
constexpr float DigitsWidth = 2 * DigitPitch + DigitWidth;
constexpr float DigitsLeft = FieldLeft + ((FieldRight - FieldLeft) - DigitsWidth) / 2;

// A bar with pointed ends along one axis: `along` runs from a to b, `across` is
// the distance from its centre line.
bool InBar(float along, float across, float a, float b) {
    const float overshoot =
        std::fmax(0.0f, std::fmax((a + HalfStroke) - along, along - (b - HalfStroke)));
    return along >= a && along <= b && std::fabs(across) + overshoot <= HalfStroke;
}

bool InDigit(int digit, float x, float y) {
    const float h = HalfStroke, g = SegmentGap, w = DigitWidth, mid = DigitHeight / 2;
    const uint8_t on = DigitSegments[digit];
    const bool seg[7] = {
        InBar(x, y - h, h + g, w - h - g),
        InBar(y, x - (w - h), h + g, mid - g),
        InBar(y, x - (w - h), mid + g, DigitHeight - h - g),
        InBar(x, y - (DigitHeight - h), h + g, w - h - g),
        InBar(y, x - h, mid + g, DigitHeight - h - g),
        InBar(y, x - h, h + g, mid - g),
        InBar(x, y - mid, h + g, w - h - g),
    };
    for (int s = 0; s < 7; ++s)
        if ((on >> s & 1) && seg[s]) return true;
    return false;
}

// The number right-aligned in three digit places, without leading zeros.
bool InNumber(int number, float x, float y) {
    const int digits[3] = {number / 100, number / 10 % 10, number % 10};
    const int first = number >= 100 ? 0 : (number >= 10 ? 1 : 2);
    const float slanted = x + (y - (DigitTop + DigitHeight / 2)) * Slant;
    for (int place = first; place < 3; ++place) {
        const float left = DigitsLeft + place * DigitPitch;
        if (InDigit(digits[place], slanted - left, y - DigitTop)) return true;
    }
    return false;
}

// The grey bevel, lit from the top left so that the field looks sunk into the
// panel: dark above and left of it, light below and right.
Colour Bevel(float x, float y) {
    const float left = FieldLeft - x, right = x - FieldRight;
    const float above = FieldTop - y, below = y - FieldBottom;
    const float side = std::fmax(std::fmax(left, right), std::fmax(above, below));
    const float depth = side / BevelWidth; // 0 at the field, 1 at the outer edge
    Colour c;
    if (side == above)
        c = Grey(78);
    else if (side == left)
        c = Grey(98);
    else if (side == below)
        c = Grey(212);
    else
        c = Grey(184);
    return Mix(c, Grey(150), depth * 0.35f);
}

Colour LedPoint(int number, float x, float y) {
    if (x >= FieldLeft && x < FieldRight && y >= FieldTop && y < FieldBottom)
        return InNumber(number, x, y) ? LitColour : FieldColour;
    if (x >= FieldLeft - BevelWidth && x < FieldRight + BevelWidth && y >= FieldTop - BevelWidth &&
        y < FieldBottom + BevelWidth)
        return Bevel(x, y);
    return Panel;
}

// ---- Knob ----

constexpr float KnobCentre = KnobSize / 2.0f;
constexpr float BodyRadius = 22.0f, CapRadius = 14.5f;
constexpr float DotDistance = 18.2f, DotRadius = 2.3f;
constexpr int Ridges = 24;
const float LightAngle = -Pi / 4; // light from the upper left

float SmoothStep(float edge0, float edge1, float v) {
    const float t = Clamp((v - edge0) / (edge1 - edge0), 0, 1);
    return t * t * (3 - 2 * t);
}

// A fixed pseudo-random value in -1..1 for each ring of the brushed cap.
float RingNoise(int ring) {
    uint32_t h = static_cast<uint32_t>(ring) * 2654435761u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return (h & 0xFFFF) / 32767.5f - 1.0f;
}

Colour BrushedCap(float r, float theta, float up) {
    float v = 170 + 42 * std::cos(2 * (theta - LightAngle)) + 14 * up + 7 * RingNoise(int(r * 5));
    const Colour metal = {v, v, v + 5};
    // A narrow chamfer at the rim catches the light at the top.
    const float rim = SmoothStep(CapRadius - 1.4f, CapRadius, r);
    return Mix(metal, Grey(105 + 95 * up), rim);
}

Colour KnobBody(float r, float theta, float up, float turn) {
    float v = 30 + 16 * up;
    // Knurled grip at the edge, turning with the knob.
    const float grip = SmoothStep(BodyRadius - 4.5f, BodyRadius - 3.0f, r);
    v += grip * 9 * std::cos(Ridges * (theta - turn));
    // A soft sheen on the upper left of the edge and a shadow under the cap.
    const float facing = std::fmax(0.0f, std::cos(theta - LightAngle));
    v += 55 * facing * facing * facing * SmoothStep(BodyRadius - 3.5f, BodyRadius - 0.5f, r);
    v *= 0.55f + 0.45f * SmoothStep(CapRadius, CapRadius + 2.0f, r);
    return Grey(v);
}

Colour KnobPoint(int position, float x, float y) {
    const float dx = x - KnobCentre, dy = y - KnobCentre;
    const float r = std::sqrt(dx * dx + dy * dy);
    if (r > BodyRadius) return Panel;
    // Angles run clockwise from straight up; the dot sweeps 300 degrees.
    const float turn = (-150.0f + 3.0f * position) * Pi / 180.0f;
    const float dotX = KnobCentre + DotDistance * std::sin(turn);
    const float dotY = KnobCentre - DotDistance * std::cos(turn);
    if (std::hypot(x - dotX, y - dotY) < DotRadius) return {246, 246, 242};
    const float theta = std::atan2(dx, -dy);
    const float up = r > 0 ? -dy / r : 0;
    if (r <= CapRadius) return BrushedCap(r, theta, up * (r / CapRadius));
    return KnobBody(r, theta, up, turn);
}

// ---- Icon ----

// The colour at one sample point and whether the icon covers it there.
struct Coverage {
    Colour colour;
    float alpha; // 0 outside the tile, 1 inside
};

// Distance from (x, y) to the edge of the rounded rectangle [left, right] x
// [top, bottom] with corner radius r: negative inside, positive outside.
float RoundedRectDistance(float x, float y, float left, float top, float right, float bottom,
                          float r) {
    const float qx = std::fabs(x - (left + right) / 2) - ((right - left) / 2 - r);
    const float qy = std::fabs(y - (top + bottom) / 2) - ((bottom - top) / 2 - r);
    const float outside = std::hypot(std::fmax(qx, 0.0f), std::fmax(qy, 0.0f));
    return outside + std::fmin(std::fmax(qx, qy), 0.0f) - r;
}

// One frame of the table: a sine at morph 0 turning into a soft, band-limited
// saw at morph 1, over one cycle t = 0..1. `slope` gets df/dt.
float IconWave(float morph, float t, float& slope) {
    // Harmonics above the first at morph / h, tapered by Lanczos' sigma factors
    // so that the few of them do not ripple.
    float f = 0, df = 0;
    for (int h = 1; h <= 4; ++h) {
        const float x = Pi * h / 5;
        const float weight = h == 1 ? 1.0f : morph / h * std::sin(x) / x;
        f += weight * std::sin(2 * Pi * h * t);
        df += weight * 2 * Pi * h * std::cos(2 * Pi * h * t);
    }
    slope = df;
    return f;
}

constexpr int IconFrames = 5;

// A point of the icon in units of its size (0..1 across and down); `pixel` is
// one pixel in those units, so that thin lines stay visible in small icons.
Coverage IconPoint(float u, float v, float pixel) {
    const float tile = RoundedRectDistance(u, v, 0.06f, 0.06f, 0.94f, 0.94f, 0.17f);
    if (tile > 0) return {{0, 0, 0}, 0};
    // The panel, a shade lighter towards the top, with a darker rim.
    const Colour panel = Mix(Panel, Grey(255), 0.12f * (1 - v));
    if (tile > -std::fmax(0.012f, pixel)) return {Mix(panel, Grey(0), 0.45f), 1};
    if (RoundedRectDistance(u, v, 0.15f, 0.15f, 0.85f, 0.85f, 0.08f) > 0) return {panel, 1};
    // Frames from the front (k = 0, red) to the back, each further up and right.
    for (int k = 0; k < IconFrames; ++k) {
        const float left = 0.19f + 0.035f * k, width = 0.48f;
        const float base = 0.64f - 0.08f * k, height = 0.085f;
        const float t = (u - left) / width;
        if (t < 0 || t > 1) continue;
        float slope;
        const float y = base - height * IconWave(k / float(IconFrames - 1), t, slope);
        const float dydu = -height * slope / width;
        const float distance = std::fabs(v - y) / std::sqrt(1 + dydu * dydu);
        const float halfWidth = std::fmax(k == 0 ? 0.026f : 0.01f, 0.6f * pixel);
        if (distance < halfWidth) return {k == 0 ? Colour{225, 0, 0} : Grey(200), 1};
    }
    return {Grey(0), 1};
}

// The size x size icon, R, G, B, A per pixel.
std::vector<uint8_t> DrawIcon(int size) {
    std::vector<uint8_t> rgba(size_t(size) * size * 4);
    const float step = 1.0f / SamplesPerAxis, pixel = 1.0f / size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Colours are weighted by coverage, so edges blend with what lies below.
            Colour sum = {0, 0, 0};
            float alpha = 0;
            for (int j = 0; j < SamplesPerAxis; ++j) {
                for (int i = 0; i < SamplesPerAxis; ++i) {
                    const Coverage c = IconPoint((x + (i + 0.5f) * step) * pixel,
                                                 (y + (j + 0.5f) * step) * pixel, pixel);
                    sum = {sum.r + c.colour.r * c.alpha, sum.g + c.colour.g * c.alpha,
                           sum.b + c.colour.b * c.alpha};
                    alpha += c.alpha;
                }
            }
            uint8_t* p = &rgba[(size_t(y) * size + x) * 4];
            const float n = SamplesPerAxis * SamplesPerAxis;
            const float a = alpha > 0 ? alpha : 1;
            p[0] = static_cast<uint8_t>(std::lround(Clamp(sum.r / a, 0, 255)));
            p[1] = static_cast<uint8_t>(std::lround(Clamp(sum.g / a, 0, 255)));
            p[2] = static_cast<uint8_t>(std::lround(Clamp(sum.b / a, 0, 255)));
            p[3] = static_cast<uint8_t>(std::lround(255 * alpha / n));
        }
    }
    return rgba;
}

// ---- PNG ----

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static uint32_t table[256];
    if (!table[1]) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void PutChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    PutBigEndian(png, uint32_t(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBigEndian(png, Crc32(&png[start], png.size() - start));
}

// An 8-bit RGBA PNG. The image data is a zlib stream of stored (uncompressed)
// deflate blocks: an icon is small enough not to need compression.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> raw; // every row after a filter byte 0 (none)
    const size_t rowBytes = size_t(width) * 4;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgba.begin() + y * rowBytes, rgba.begin() + (y + 1) * rowBytes);
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};
    size_t done = 0;
    do {
        const size_t n = std::min<size_t>(raw.size() - done, 65535);
        zlib.push_back(done + n == raw.size() ? 1 : 0); // BFINAL on the last block, BTYPE 00
        zlib.insert(zlib.end(), {uint8_t(n), uint8_t(n >> 8), uint8_t(~n), uint8_t(~n >> 8)});
        zlib.insert(zlib.end(), raw.begin() + done, raw.begin() + done + n);
        done += n;
    } while (done < raw.size());
    uint32_t a = 1, b = 0; // Adler-32 of the uncompressed data
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(zlib, b << 16 | a);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, uint32_t(width));
    PutBigEndian(header, uint32_t(height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

bool WriteIcon(int size, const std::string& path) {
    const std::vector<uint8_t> png = EncodePng(size, size, DrawIcon(size));
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fwrite(png.data(), 1, png.size(), out);
    return std::fclose(out) == 0;
}

// ---- Strip output ----

// The 101 images of w x h stacked top to bottom, image k drawn by point(k, x, y).
Image DrawStrip(int w, int h, Colour (*point)(int, float, float)) {
    Image strip = {w, h * StripImages, {}};
    strip.rgb.resize(size_t(strip.width) * strip.height * 3);
    for (int k = 0; k < StripImages; ++k)
        Supersample(strip, k * h, w, h, [k, point](float x, float y) { return point(k, x, y); });
    return strip;
}

// Writes the pixels as one string literal, a line per pixel row: printable
// characters as they are, everything else as three-digit octal escapes.
void WriteArray(FILE* out, const char* name, const Image& image) {
    std::fprintf(out, "\nconst char %s[] =\n", name);
    const size_t rowBytes = size_t(image.width) * 3;
    for (size_t i = 0; i < image.rgb.size(); ++i) {
        if (i % rowBytes == 0) std::fputs("    \"", out);
        const uint8_t b = image.rgb[i];
        if (b >= 32 && b < 127 && b != '"' && b != '\\' && b != '?')
            std::fputc(b, out);
        else
            std::fprintf(out, "\\%03o", b);
        if (i % rowBytes == rowBytes - 1)
            std::fputs(i + 1 == image.rgb.size() ? "\";\n" : "\"\n", out);
    }
}

bool WriteSource(const std::string& path, const Image& led, const Image& knob) {
    FILE* out = std::fopen(path.c_str(), "w");
    if (!out) return false;
    std::fputs("// Generated by resources/make_strips when the program is built.\n"
               "#include \"platform/common/strips.h\"\n",
               out);
    WriteArray(out, "EmbeddedLedStrip", led);
    WriteArray(out, "EmbeddedKnobStrip", knob);
    return std::fclose(out) == 0;
}

bool WritePpm(const std::string& path, const Image& image) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fprintf(out, "P6\n%d %d\n255\n", image.width, image.height);
    std::fwrite(image.rgb.data(), 1, image.rgb.size(), out);
    return std::fclose(out) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--icon") {
        const int size = std::atoi(argv[2]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "%s: icon size %s is not 16 to 1024\n", argv[0], argv[2]);
            return 2;
        }
        if (WriteIcon(size, argv[3])) return 0;
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr,
                     "usage: %s OUTPUT.cpp [LED.ppm KNOB.ppm]\n"
                     "       %s --icon SIZE ICON.png\n",
                     argv[0], argv[0]);
        return 2;
    }
    const Image led = DrawStrip(LedWidth, LedHeight, LedPoint);
    const Image knob = DrawStrip(KnobSize, KnobSize, KnobPoint);
    bool ok = WriteSource(argv[1], led, knob);
    if (argc == 4) ok = WritePpm(argv[2], led) && WritePpm(argv[3], knob) && ok;
    if (!ok) {
        std::fprintf(stderr, "%s: cannot write the strips\n", argv[0]);
        return 1;
    }
    return 0;
}

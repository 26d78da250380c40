// Draws the two bitmap strips of the control panel and writes them as a C++
// source file that embeds their pixels:
//
//   make_strips OUTPUT.cpp [LED.ppm KNOB.ppm]
//
// LED strip: image k shows the number k as red seven-segment digits on a dark
// red field sunk into a grey bevel. Knob strip: image k shows a black knob with a
// brushed-metal cap whose white dot turns from seven o'clock (k = 0) through
// twelve (k = 50) to five o'clock (k = 100). Every pixel is the mean of a grid
// of sample points, so edges are smooth.
#include <cmath>
#include <cstdint>
#include <cstdio>
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
const Colour PanelColour = {131, 133, 112};

struct Image {
    int width;
    int height;
    std::vector<uint8_t> rgb;
};

// Fills the w x h image whose top row is `top`; shade(x, y) gives the colour at
// a point in the image's own coordinates.
template <typename Shade>
void Supersample(Image& strip, int top, int w, int h, Shade shade) {
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
    const float depth = side / BevelWidth;  // 0 at the field, 1 at the outer edge
    Colour c;
    if (side == above) c = Grey(78);
    else if (side == left) c = Grey(98);
    else if (side == below) c = Grey(212);
    else c = Grey(184);
    return Mix(c, Grey(150), depth * 0.35f);
}

Colour LedPoint(int number, float x, float y) {
    if (x >= FieldLeft && x < FieldRight && y >= FieldTop && y < FieldBottom)
        return InNumber(number, x, y) ? LitColour : FieldColour;
    if (x >= FieldLeft - BevelWidth && x < FieldRight + BevelWidth && y >= FieldTop - BevelWidth &&
        y < FieldBottom + BevelWidth)
        return Bevel(x, y);
    return PanelColour;
}

// ---- Knob ----

constexpr float KnobCentre = KnobSize / 2.0f;
constexpr float BodyRadius = 22.0f, CapRadius = 14.5f;
constexpr float DotDistance = 18.2f, DotRadius = 2.3f;
constexpr int Ridges = 24;
const float LightAngle = -Pi / 4;  // light from the upper left

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
    if (r > BodyRadius) return PanelColour;
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

// ---- Output ----

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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp [LED.ppm KNOB.ppm]\n", argv[0]);
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

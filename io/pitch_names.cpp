#include "io/pitch_names.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <optional>

#include "platform/common/text_parse.h"

namespace {

// The number before an optional unit "Hz" or "hz".
std::optional<double> ParseHz(const std::string& text) {
    std::string number = text;
    while (!number.empty() && std::isspace(static_cast<unsigned char>(number.back())))
        number.pop_back();
    const size_t unit = number.size() >= 2 ? number.size() - 2 : number.size();
    if (number.compare(unit, 2, "Hz") == 0 || number.compare(unit, 2, "hz") == 0)
        number.resize(unit);
    return ParseNumber(number, 1.0, 100000.0);
}

} // namespace

std::string DescribePitch(double hz) {
    const double note = 69.0 + 12.0 * std::log2(hz / 440.0);
    const long nearest = std::lround(note);
    const long cents = std::lround(100.0 * (note - static_cast<double>(nearest)));
    char text[80];
    std::snprintf(text, sizeof text, "%s %+ld cents, %.1f Hz",
                  NoteName(static_cast<int>(nearest)).c_str(), cents, hz);
    return text;
}

bool ParsePitch(const std::string& text, double& hz) {
    size_t first = 0;
    while (first < text.size() && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    if (first < text.size() && std::isalpha(static_cast<unsigned char>(text[first]))) {
        const std::optional<int> note = ParseNoteName(text);
        if (!note) return false;
        hz = NoteHz(*note);
        return hz >= 1.0 && hz <= 100000.0;
    }
    const std::optional<double> number = ParseHz(text);
    if (number) hz = *number;
    return number.has_value();
}

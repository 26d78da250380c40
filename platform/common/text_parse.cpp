#include "platform/common/text_parse.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text without the spaces around it.
std::string Trimmed(const std::string& text) {
    size_t first = 0, end = text.size();
    while (first < end && IsSpace(text[first])) ++first;
    while (end > first && IsSpace(text[end - 1])) --end;
    return text.substr(first, end - first);
}

// Skips the digits from `at`; how many there were.
size_t SkipDigits(const std::string& text, size_t& at) {
    const size_t start = at;
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at - start;
}

// Whether the whole text is a decimal number: a sign, digits with at most one
// point among them, and an exponent.
bool IsDecimal(const std::string& text) {
    size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    size_t digits = SkipDigits(text, at);
    if (at < text.size() && text[at] == '.') {
        ++at;
        digits += SkipDigits(text, at);
    }
    if (digits == 0) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        if (SkipDigits(text, at) == 0) return false;
    }
    return at == text.size();
}

// One octave's semitones from C, and each letter's place among them.
const char* const SemitoneNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                       "F#", "G",  "G#", "A",  "A#", "B"};
constexpr int LetterSemitones[7] = {9, 11, 0, 2, 4, 5, 7}; // A .. G

} // namespace

std::optional<double> ParseNumber(const std::string& text, double lo, double hi, bool whole) {
    const std::string number = Trimmed(text);
    if (!IsDecimal(number)) return std::nullopt;
    const double value = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(value) || value < lo || value > hi) return std::nullopt;
    if (whole && value != std::floor(value)) return std::nullopt;
    return value;
}

std::optional<int> ParseWhole(const std::string& text, int lo, int hi) {
    const std::optional<double> value = ParseNumber(text, lo, hi, true);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<double> ParseSeconds(const std::string& text) {
    return ParseNumber(text, 0.0, HUGE_VAL);
}

std::optional<int> ParseNoteName(const std::string& text) {
    const std::string name = Trimmed(text);
    if (name.empty()) return std::nullopt;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (letter < 'A' || letter > 'G') return std::nullopt;
    int semitone = LetterSemitones[letter - 'A'];
    size_t at = 1;
    if (at < name.size() && (name[at] == '#' || name[at] == 'b'))
        semitone += name[at++] == '#' ? 1 : -1;
    const bool below = at < name.size() && name[at] == '-';
    if (below) ++at;
    const size_t first = at;
    const size_t digits = SkipDigits(name, at);
    if (digits == 0 || digits > 2 || at != name.size()) return std::nullopt;
    const int octave = std::atoi(name.c_str() + first);
    return 12 * ((below ? -octave : octave) + 1) + semitone;
}

std::string NoteName(int midiNote) {
    const int octave = (midiNote >= 0 ? midiNote / 12 : (midiNote - 11) / 12) - 1;
    return SemitoneNames[midiNote - 12 * (octave + 1)] + std::to_string(octave);
}

double NoteHz(double midiNote) { return 440.0 * std::exp2((midiNote - 69.0) / 12.0); }

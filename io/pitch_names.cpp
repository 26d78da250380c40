#include "io/pitch_names.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

const char* const NoteNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
constexpr int SemitonesFromC[7] = {9, 11, 0, 2, 4, 5, 7}; // A .. G

double NoteHz(double midiNote) { return 440.0 * std::exp2((midiNote - 69.0) / 12.0); }

std::string Trimmed(const std::string& text) {
    size_t first = 0, end = text.size();
    while (first < end && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (end > first && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(first, end - first);
}

bool ParseNote(const std::string& text, double& hz) {
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (letter < 'A' || letter > 'G') return false;
    int semitone = SemitonesFromC[letter - 'A'];
    size_t at = 1;
    if (at < text.size() && text[at] == '#') {
        ++semitone;
        ++at;
    } else if (at < text.size() && text[at] == 'b') {
        --semitone;
        ++at;
    }
    const std::string octave = text.substr(at);
    if (octave.empty() || octave.size() > 3) return false;
    char* end = nullptr;
    const long number = std::strtol(octave.c_str(), &end, 10);
    if (*end != '\0' || !(std::isdigit(static_cast<unsigned char>(octave.back())))) return false;
    hz = NoteHz(12.0 * (number + 1) + semitone);
    return true;
}

bool ParseHz(const std::string& text, double& hz) {
    char* end = nullptr;
    hz = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) return false;
    const std::string unit = Trimmed(end);
    return unit.empty() || unit == "Hz" || unit == "hz";
}

} // namespace

std::string DescribePitch(double hz) {
    const double note = 69.0 + 12.0 * std::log2(hz / 440.0);
    const long nearest = std::lround(note);
    const long cents = std::lround(100.0 * (note - static_cast<double>(nearest)));
    const long octave = static_cast<long>(std::floor(nearest / 12.0)) - 1;
    const long name = nearest - 12 * (octave + 1);
    char text[80];
    std::snprintf(text, sizeof text, "%s%ld %+ld cents, %.1f Hz", NoteNames[name], octave, cents,
                  hz);
    return text;
}

bool ParsePitch(const std::string& written, double& hz) {
    const std::string text = Trimmed(written);
    if (text.empty()) return false;
    const bool ok =
        std::isalpha(static_cast<unsigned char>(text[0])) ? ParseNote(text, hz) : ParseHz(text, hz);
    return ok && std::isfinite(hz) && hz >= 1.0 && hz <= 100000.0;
}

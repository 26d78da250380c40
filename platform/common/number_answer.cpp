#include "platform/common/number_answer.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

std::optional<double> ReadNumberAnswer(const std::string& text, const NumberQuestion& question) {
    const char* start = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start) return std::nullopt;
    while (std::isspace(static_cast<unsigned char>(*end))) ++end;
    if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
    if (value < question.minimum || value > question.maximum) return std::nullopt;
    if (question.whole && value != std::floor(value)) return std::nullopt;
    return value;
}

std::optional<double> ReadSecondsAnswer(const std::string& text) {
    const char* start = text.c_str();
    char* end = nullptr;
    const double seconds = std::strtod(start, &end);
    while (end != start && *end == ' ') ++end;
    if (end == start || *end != '\0' || !std::isfinite(seconds) || seconds < 0.0)
        return std::nullopt;
    return seconds;
}

std::string NumberRangeLine(const NumberQuestion& question) {
    return std::string("Enter a ") + (question.whole ? "whole " : "") + "number from " +
           NumberText(question.minimum) + " to " + NumberText(question.maximum) + ".";
}

std::string NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

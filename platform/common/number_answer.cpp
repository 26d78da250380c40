#include "platform/common/number_answer.h"

#include <cstdio>

#include "platform/common/text_parse.h"

std::optional<double> ReadNumberAnswer(const std::string& text, const NumberQuestion& question) {
    return ParseNumber(text, question.minimum, question.maximum, question.whole);
}

std::optional<double> ReadSecondsAnswer(const std::string& text) { return ParseSeconds(text); }

std::string NumberRangeLine(const NumberQuestion& question) {
    return std::string("Enter a ") + (question.whole ? "whole " : "") + "number from " +
           NumberText(question.minimum) + " to " + NumberText(question.maximum) + ".";
}

std::string NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

// Reading the answers typed into the dialogs' number fields, shared by both
// backends so that they accept and refuse exactly the same answers.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

// The typed number, or nullopt when the text is no decimal number (spaces
// around it are allowed), is not finite, lies outside the question's range or
// is not whole where the question wants a whole number.
std::optional<double> ReadNumberAnswer(const std::string& text, const NumberQuestion& question);
// Seconds typed into the import dialog: a number that is finite and not
// negative, spaces around it allowed; nullopt for any other text.
std::optional<double> ReadSecondsAnswer(const std::string& text);
// The one line a refused answer shows: "Enter a whole number from 1 to 511."
std::string NumberRangeLine(const NumberQuestion& question);
// A value as the field offers it: "64", "2.5".
std::string NumberText(double value);

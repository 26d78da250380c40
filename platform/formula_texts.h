// What a formula is as the user writes it: its mode and its three texts. The
// formula dialog edits it, projects keep it, and the formula engine computes
// from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A longer text is refused, at the column after the last one taken.
constexpr size_t FormulaMaxLength = 4096;

enum class FormulaMode : uint8_t { Wave, Harmonics };

struct Formula {
    FormulaMode mode = FormulaMode::Wave;
    std::string wave = "sin(2*pi*w)";
    std::string amplitude = "1/q";
    std::string phase = "0";
};

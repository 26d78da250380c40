// The formula language on muParser: its names, operators and functions, and
// its errors as "<what> at column <n>". Only the formula engine includes this;
// everyone else goes through synth/formula.h.
#pragma once

#include <muParser.h>

#include <cstdint>
#include <string>

#include "synth/formula.h"

// The values the names of a formula read when it is evaluated.
struct FormulaNames {
    double x = 0.0;
    double w = 0.0;
    double y = 0.0;
    double z = 0.0;
    double frame = 0.0;
    double q = 0.0;
    double in = 0.0;
    double rand = 0.0;
    double rrnd = 0.0;
};

// Sets parser up to evaluate text with its names reading names. Returns the
// first error with its 1-based column, or an empty string when text is a
// formula. Never throws.
std::string CompileFormula(const std::string& text, FormulaNames& names, mu::Parser& parser);

// Whether the compiled parser reads the name; true when muParser cannot tell,
// so a caller that skips the work for an unread name never skips too much.
bool ReadsName(const mu::Parser& parser, const char* name);

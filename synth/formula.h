// Waves computed from a formula over a range of frames: each sample of a frame
// ("Wave" mode), or each harmonic's amplitude and phase ("Harmonics" mode).
// The caller passes the table and the range, so the dialog's preview, the menu
// command and the command line compute the same bits.
//
// The language (every intermediate in double, each result stored as a float):
//   x = -1 + 2i/1024 and w = i/1024 for sample i = 0..1023 (both 0 in Harmonics
//     mode); q = the harmonic 1..511 (0 in Wave mode);
//   z = t and y = -1 + 2t, where t = (f - lo) / (hi - lo) for frame f of the
//     range lo..hi, and t = f / 99 when the range is one frame;
//   frame = f + 1, the frame's number as its LED shows it (1..100);
//   in = the sample's value, or in Harmonics mode the harmonic's amplitude
//     |X_q| * 2 / 1024 of the frame's DFT (a full-scale sine's fundamental is 1);
//   rand = -1..1 by i (or q) alone, the same in every frame; rrnd = -1..1 anew
//     for every sample (or harmonic) of every frame; both from fixed seeds;
//   pi, e; + - * / ^ (power), unary - and !, < > <= >= == != && || giving 1
//     or 0, c ? a : b, % (floored modulo, a - b*floor(a/b)), parentheses; one
//     prefix operator may not follow another (-(-x), not --x);
//   sin cos tan asin acos atan atan2(y, x) sinh cosh tanh exp sqrt abs
//   sign rint (halves to even) round (halves away from zero) floor ceil
//   pow(a, b) mod(a, b) (as %) clamp(v, lo, hi) min max (any number of values);
//   ln and log are both the natural logarithm, as in C; log2 and log10 name
//   their bases.
// Harmonics mode writes sum over q = 1..511 of a_q sin(2 pi q i / 1024 + phi_q),
// a the amplitude formula and phi the phase formula (radians), without DC.
// Nothing is normalized. A sample that is not finite becomes 0, a harmonic
// whose amplitude or phase is not finite is left out; both are counted.
// Every call compiles its own copy of the texts, so calls on several threads
// give the same bits as one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/formula_texts.h"

struct FormulaOutcome {
    // "unknown name 'fo' at column 3", or empty when the formula ran.
    std::string error;
    // The error is the phase formula's rather than the amplitude formula's.
    bool inPhase = false;
    // How many values became 0 for not being finite: samples, and harmonics
    // whose amplitude or phase was not.
    int32_t nonFinite = 0;
};

// What became of the values that were not finite: "3 samples were not numbers
// and became 0" (Wave), "1 harmonic was not a number and was left out", or
// nothing for none.
std::string NonFiniteNote(FormulaMode mode, int32_t count);

// The first error of the texts the mode uses, or an empty outcome.
FormulaOutcome CheckFormula(const Formula& formula);

// Frames are counted from 0 here (frame 0 is LED 1). A range given as lo > hi
// is the same range as hi..lo; a frame outside the table is an error.

// Computes frame f of the range lo..hi from table (100 frames of 1024 samples)
// into out (1024 samples), leaving table as it was. f may lie outside lo..hi,
// where t goes beyond 0..1.
FormulaOutcome ComputeFormulaFrame(const Formula& formula, const float* table, int32_t lo,
                                   int32_t hi, int32_t f, float* out);
// Computes every frame of lo..hi and writes it into table; on an error nothing
// is written.
FormulaOutcome ApplyFormula(const Formula& formula, float* table, int32_t lo, int32_t hi);

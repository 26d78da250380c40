// The formula engine: the first byte picks the mode and two frames, the rest is the text (a
// newline parts amplitude and phase). Any text gets an error with its column or finite frames.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/editor_state.h"
#include "synth/formula.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static std::vector<float> table(TableSamples, 0.25f);
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = text.find('\n');
    const Formula formula{data[0] & 1 ? FormulaMode::Harmonics : FormulaMode::Wave, text,
                          text.substr(0, split),
                          split == std::string::npos ? "0" : text.substr(split + 1)};
    const int32_t lo = data[0] >> 1 & 63;
    const FormulaOutcome outcome = ApplyFormula(formula, table.data(), lo, lo + 1);
    if (outcome.error.empty() != CheckFormula(formula).error.empty()) std::abort();
    if (!outcome.error.empty() && outcome.error.find(" at column ") == std::string::npos) abort();
    for (int32_t i = lo * SamplesPerFrame; i < (lo + 2) * SamplesPerFrame; ++i)
        if (!std::isfinite(table[i])) std::abort();
    return 0;
}

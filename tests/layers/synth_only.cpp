// Synthesis with nothing above it: the editor core and the synth layer alone
// make the additive frame of a new document, harmonic 1 at full level.
#include <cmath>

#include "core/editor_state.h"
#include "synth/additive.h"

int main() {
    NewDocument();
    SynthesizeAdditive();
    float peak = 0.0f;
    for (float s : AdditiveFrame) peak = std::fmax(peak, std::fabs(s));
    return std::fabs(peak - 0.5f / 1.4142f) < 1e-6f ? 0 : 1;
}

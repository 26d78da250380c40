#include "platform/script_dialog.h"

const char DefaultScriptText[] =
    R"lua(-- A saw built from its Fourier series: frame n holds harmonics 1 .. n.
function generate(wt)
    local res = {}
    for i = 1, wt.sample_count do
        local x = 2 * pi * (i - 1) / wt.sample_count
        local v = 0
        for n = 1, wt.frame do
            v = v + 2 / (pi * n) * sin(n * x)
        end
        res[i] = v
    end
    return res
end
)lua";

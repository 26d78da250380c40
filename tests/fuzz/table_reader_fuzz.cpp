// Any bytes as a .wt file (TABLE_READER ParseWt) or a Blofeld dump (ParseBlofeldDump): no
// crash, no read outside; a file taken is whole frames of finite samples, a refusal says why.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "io/sysex_file.h"
#include "io/wt_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ForeignTable table;
    std::string problem;
    if (!TABLE_READER(data, size, table, problem)) {
        if (problem.empty()) __builtin_trap();
        return 0;
    }
    if (table.frameSize < 2 || table.samples.empty() || table.samples.size() % table.frameSize)
        __builtin_trap();
    for (float s : table.samples)
        if (!std::isfinite(s)) __builtin_trap();
    return 0;
}

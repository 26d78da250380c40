// qarno-script-runner: runs one wavetable script for the editor (see
// platform/script_process.h). It limits itself before it reads the script:
// CPU time, address space, no files to write, no core file, no new processes,
// no new privileges, and no descriptors but the request's socket.
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>

#include "synth/script_sandbox.h"

namespace {

constexpr rlim_t CpuSeconds = 5;
// Room for the program, its libraries, stacks, compiled code and the answer
// beside what Lua allocates, which is counted on its own.
constexpr rlim_t AddressSpace = ScriptMemoryLimit + (rlim_t{192} << 20);

bool Limit(int resource, rlim_t soft, rlim_t hard) {
    const rlimit limit = {soft, hard};
    return setrlimit(resource, &limit) == 0;
}

bool LimitSelf() {
    return close_range(3, ~0u, 0) == 0 && prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           Limit(RLIMIT_CPU, CpuSeconds, CpuSeconds + 1) &&
           Limit(RLIMIT_AS, AddressSpace, AddressSpace) && Limit(RLIMIT_CORE, 0, 0) &&
           Limit(RLIMIT_FSIZE, 0, 0) && Limit(RLIMIT_NPROC, 0, 0) && Limit(RLIMIT_NOFILE, 3, 3);
}

bool ReadAll(std::string& bytes) {
    char block[65536];
    for (;;) {
        const ssize_t got = read(0, block, sizeof block);
        if (got == 0) return true;
        if (got < 0) return false;
        bytes.append(block, static_cast<size_t>(got));
        if (bytes.size() > ScriptMaxBytes + 64) return false;
    }
}

bool WriteAll(const std::string& bytes) {
    for (size_t at = 0; at < bytes.size();) {
        const ssize_t put = write(1, bytes.data() + at, bytes.size() - at);
        if (put <= 0) return false;
        at += static_cast<size_t>(put);
    }
    return true;
}

} // namespace

int main() {
    if (!LimitSelf()) return 3;
    std::string bytes;
    ScriptRequest request;
    if (!ReadAll(bytes) || !DecodeScriptRequest(bytes, request)) return 2;
    return WriteAll(EncodeScriptAnswer(RunScriptSandboxed(request))) ? 0 : 1;
}

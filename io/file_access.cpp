#include "io/file_access.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "io/wav_format.h"

namespace {

// Beyond every layout the readers understand for the largest range they fill.
constexpr size_t MaxLoadedBytes = 64u << 20;

}  // namespace

void ReportFileError(WindowHandle owner, const std::string& text, const std::string& path) {
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    ShowMessageBox(owner, text + "\n" + path, "Error");
}

void SaveThroughDialog(WindowHandle owner, const FileDialog& dialog,
                       const std::function<std::vector<uint8_t>()>& buildImage) {
    std::string path;
    if (!AskFileName(dialog, path)) return;
    std::string error;
    if (!WriteFileReplacing(path, buildImage(), error)) ReportFileError(owner, error, path);
}

bool LoadWholeFile(WindowHandle owner, const std::string& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    bool ok = fd >= 0 && fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    uint8_t block[65536];
    while (ok && bytes.size() < MaxLoadedBytes) {
        const ssize_t n = read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        bytes.insert(bytes.end(), block, block + n);
    }
    if (fd >= 0) close(fd);
    if (!ok) ReportFileError(owner, "can not open file", path);
    return ok;
}

#include "io/file_access.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/common/file_names.h"

namespace {

// Beyond every layout the readers understand for the largest range they fill.
constexpr size_t MaxLoadedBytes = 64u << 20;

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Devices and pipes cannot be replaced by renaming: they are written in place.
bool WriteInPlace(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        error = "can not open file";
        return false;
    }
    const bool written = WriteAll(fd, bytes);
    if (close(fd) != 0 || !written) {
        error = "write error";
        return false;
    }
    return true;
}

// Creates a new file next to `target` that no one else uses; -1 when the folder
// does not let us.
int CreateTemporary(const std::string& target, std::string& temporary) {
    const std::string stem = FolderOf(target) + "/." + FileNameOf(target) + "." +
                             std::to_string(getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = stem + std::to_string(attempt);
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

void ReportFileError(WindowHandle owner, const std::string& text, const std::string& path) {
    std::fputs((text + "\n").c_str(), stdout);
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

bool LoadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
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
    if (!ok) error = "can not open file";
    return ok;
}

bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes,
                        std::string& error) {
    // A link is followed so that the file it names is replaced, not the link.
    std::string target = path;
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) target = resolved;

    struct stat old;
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        error = "can not open file";
        return false;
    }
    if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(target, bytes, error);

    std::string temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) {
        error = "can not open file";
        return false;
    }
    bool ok = WriteAll(fd, bytes);
    // The replacement keeps the permissions of the file it replaces.
    if (ok && exists) ok = fchmod(fd, old.st_mode & 07777) == 0;
    if (ok) ok = fsync(fd) == 0;
    if (close(fd) != 0) ok = false;
    if (ok) ok = rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
        error = "write error";
    }
    return ok;
}

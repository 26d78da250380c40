#include "io/file_access.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/common/file_names.h"

namespace {

// Beyond every layout the readers understand for the largest range they fill.
constexpr size_t MaxLoadedBytes = 64u << 20;

// Fills `error` with what failed and the system's reason, from errno.
bool Failed(FileError& error, const char* what) {
    error = {what, std::strerror(errno)};
    return false;
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = ENOSPC;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Devices and pipes cannot be replaced by renaming: they are written in place.
bool WriteInPlace(const std::string& path, const std::vector<uint8_t>& bytes, FileError& error) {
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return Failed(error, CannotOpen);
    if (!WriteAll(fd, bytes)) {
        Failed(error, WriteError);
        close(fd);
        return false;
    }
    if (close(fd) != 0) return Failed(error, WriteError);
    return true;
}

// Creates a new file next to `target` that no one else uses; -1 when the folder
// does not let us.
int CreateTemporary(const std::string& target, std::string& temporary) {
    const std::string stem =
        FolderOf(target) + "/." + FileNameOf(target) + "." + std::to_string(getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = stem + std::to_string(attempt);
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes, keeps the permissions of the file it replaces, and makes it durable.
bool WriteTemporary(int fd, const std::vector<uint8_t>& bytes, const struct stat* old,
                    FileError& error) {
    if (!WriteAll(fd, bytes)) return Failed(error, WriteError);
    if (old != nullptr && fchmod(fd, old->st_mode & 07777) != 0) return Failed(error, WriteError);
    if (fsync(fd) != 0) return Failed(error, WriteError);
    return true;
}

} // namespace

std::string FileErrorLine(const FileError& error, const std::string& path) {
    return path + ": " + (error.why.empty() ? error.what : error.why);
}

void ReportFileError(WindowHandle owner, const FileError& error, const std::string& path) {
    std::fputs((error.what + "\n").c_str(), stdout);
    std::fflush(stdout);
    std::string text = error.what + "\n" + path;
    if (!error.why.empty()) text += "\n" + error.why;
    ShowMessageBox(owner, text, "Error");
}

void SaveThroughDialog(WindowHandle owner, const FileDialog& dialog,
                       const std::function<std::vector<uint8_t>()>& buildImage) {
    SaveNamedThroughDialog(owner, dialog, [&](const std::string&) { return buildImage(); });
}

void SaveNamedThroughDialog(WindowHandle owner, const FileDialog& dialog,
                            const std::function<std::vector<uint8_t>(const std::string&)>& build) {
    std::string path;
    if (!AskFileName(dialog, path)) return;
    FileError error;
    if (!WriteFileReplacing(path, build(path), error)) ReportFileError(owner, error, path);
}

bool LoadThroughDialog(WindowHandle owner, const FileDialog& dialog, std::string& path,
                       std::vector<uint8_t>& bytes) {
    if (!AskFileName(dialog, path)) return false;
    FileError error;
    if (LoadWholeFile(path, bytes, error)) return true;
    ReportFileError(owner, error, path);
    return false;
}

int OpenForReading(const std::string& path, FileError& error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    const bool stated = fd >= 0 && fstat(fd, &st) == 0;
    if (stated && !S_ISDIR(st.st_mode)) return fd;
    if (stated) errno = EISDIR;
    Failed(error, CannotOpen);
    if (fd >= 0) close(fd);
    return -1;
}

bool LoadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, FileError& error) {
    bytes.clear();
    const int fd = OpenForReading(path, error);
    if (fd < 0) return false;
    bool ok = true;
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
    if (!ok) Failed(error, CannotOpen);
    close(fd);
    return ok;
}

bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes,
                        FileError& error) {
    // A link is followed so that the file it names is replaced, not the link.
    std::string target = path;
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) target = resolved;

    struct stat old;
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        errno = EISDIR;
        return Failed(error, CannotOpen);
    }
    if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(target, bytes, error);

    std::string temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) return Failed(error, CannotOpen);
    bool ok = WriteTemporary(fd, bytes, exists ? &old : nullptr, error);
    if (close(fd) != 0 && ok) ok = Failed(error, WriteError);
    if (ok && rename(temporary.c_str(), target.c_str()) != 0) ok = Failed(error, WriteError);
    if (!ok) unlink(temporary.c_str());
    return ok;
}

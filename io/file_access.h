// What every file command shares: asking for a name, writing a complete image,
// reading a whole file, and telling the user when the file system says no.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

// A file operation that failed: what failed, as the user reads it first, and
// the system's reason (empty where there is none, as for a file that is not a
// WAV file).
struct FileError {
    std::string what;
    std::string why;
};

// The failure as one line, as command-line tools say it: "PATH: No such file
// or directory"; a failure without a reason of its own gives what failed as
// the reason: "PATH: not a WAV file".
std::string FileErrorLine(const FileError& error, const std::string& path);

constexpr const char* CannotOpen = "can not open file";
constexpr const char* WriteError = "write error";

// Shows what failed as a line on the standard output stream, and in a message
// box captioned "Error" with the file's path on a second line and the reason,
// if any, on a third.
void ReportFileError(WindowHandle owner, const FileError& error, const std::string& path);

// Runs the save dialog; unless cancelled, builds the image and writes it over
// the chosen file, reporting a failure.
void SaveThroughDialog(WindowHandle owner, const FileDialog& dialog,
                       const std::function<std::vector<uint8_t>()>& buildImage);

// The same for an image that depends on the chosen file's path.
void SaveNamedThroughDialog(WindowHandle owner, const FileDialog& dialog,
                            const std::function<std::vector<uint8_t>(const std::string&)>& build);

// Runs the open dialog and reads the chosen file whole; false when cancelled,
// or, reported, when the file cannot be read.
bool LoadThroughDialog(WindowHandle owner, const FileDialog& dialog, std::string& path,
                       std::vector<uint8_t>& bytes);

// Opens the file for reading; -1, with "can not open file" and the reason,
// when it cannot be opened or is a folder.
int OpenForReading(const std::string& path, FileError& error);

// Reads the whole file (up to a limit far above any file the editor loads);
// false, with "can not open file" and the reason, when it cannot be read.
bool LoadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, FileError& error);

// Writes the bytes to a temporary file in the target's folder and renames it
// over the target only when the whole write and close succeeded. On failure the
// target keeps its old content, the temporary file is removed, and `error`
// holds "can not open file" or "write error" with the reason.
bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes,
                        FileError& error);

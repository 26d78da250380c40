// What every file command shares: asking for a name, writing a complete image,
// reading a whole file, and telling the user when the file system says no.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

// Shows `text` as a line on the standard output stream and in a message box
// captioned "Error" with the file's path on a second line.
void ReportFileError(WindowHandle owner, const std::string& text, const std::string& path);

// Runs the save dialog; unless cancelled, builds the image and writes it over
// the chosen file, reporting a failure.
void SaveThroughDialog(WindowHandle owner, const FileDialog& dialog,
                       const std::function<std::vector<uint8_t>()>& buildImage);

// Reads the whole file (up to a limit far above any file the editor loads);
// false, with `error` "can not open file", when it cannot be read.
bool LoadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// Writes the bytes to a temporary file in the target's folder and renames it
// over the target only when the whole write and close succeeded. On failure the
// target keeps its old content, the temporary file is removed, and `error`
// holds "can not open file" or "write error".
bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes,
                        std::string& error);


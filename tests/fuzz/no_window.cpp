// The window system for fuzz targets that link io/file_access.cpp for its file
// reading: its dialogs and message boxes are never reached from them.
#include <cstdlib>

#include "platform/platform.h"

void ShowMessageBox(WindowHandle, const std::string&, const std::string&) { std::abort(); }
bool AskFileName(const FileDialog&, std::string&) { std::abort(); }

// Names within paths, shared by the dialogs and the file writers.
#pragma once

#include <string>

// The file name of a path: what follows its last '/'.
std::string FileNameOf(const std::string& path);
// The folder of a path: what precedes its last '/' ("." when there is none).
std::string FolderOf(const std::string& path);

// A typed name without an extension gets the dialog's own one (".wav", ".txt",
// ".add"). A name that has one, even another, is kept as typed.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

// The path of the first file in a drop's text: one file URI or path a line
// ("file:///home/me/a%20b.wav"), the URI's escapes undone. Empty for none.
std::string FirstDroppedPath(const std::string& text);

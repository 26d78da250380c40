#pragma once

#include <string>

// A typed name without an extension gets the dialog's own one (".wav", ".txt",
// ".add"). A name that has one, even another, is kept as typed.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

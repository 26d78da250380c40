#include "platform/common/file_names.h"

#include <cctype>

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
    const std::string name = FileNameOf(path);
    const size_t dot = name.find_last_of('.');
    if (extension.empty() || name.empty() ||
        (dot != std::string::npos && dot > 0 && dot + 1 < name.size()))
        return path;
    if (dot != std::string::npos && dot + 1 == name.size()) return path + extension;
    return path + "." + extension;
}

std::string FirstDroppedPath(const std::string& text) {
    std::string line = text.substr(0, text.find_first_of("\r\n"));
    const std::string scheme = "file://";
    if (line.compare(0, scheme.size(), scheme) != 0) return line;
    line = line.substr(line.find('/', scheme.size()) == std::string::npos
                           ? line.size()
                           : line.find('/', scheme.size()));
    std::string path;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '%' && i + 2 < line.size() &&
            std::isxdigit(static_cast<unsigned char>(line[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(line[i + 2]))) {
            path += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += line[i];
        }
    }
    return path;
}

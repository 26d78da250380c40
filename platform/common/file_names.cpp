#include "platform/common/file_names.h"

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

#include "platform/common/file_names.h"

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (extension.empty() || name.empty() || (dot != std::string::npos && dot > 0 && dot + 1 < name.size()))
        return path;
    if (dot != std::string::npos && dot + 1 == name.size()) return path + extension;
    return path + "." + extension;
}

#include "platform/ModulePath.h"

#include <climits>
#include <unistd.h>

std::string ModuleFileName() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        return {};
    }
    return std::string(path, static_cast<std::size_t>(n));
}

std::string ModuleDirectory() {
    const std::string file = ModuleFileName();
    const std::size_t slash = file.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

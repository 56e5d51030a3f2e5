#include "support/RuntimeDir.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace support {

namespace {

bool IsDirectory(const char* path) {
    struct stat st {};
    return path != nullptr && *path != '\0' && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::string RuntimeDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (IsDirectory(runtime)) {
        return runtime;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string base = IsDirectory(tmp) ? tmp : "/tmp";
    std::string own = base + "/skerrin-" + std::to_string(getuid());
    mkdir(own.c_str(), 0700);
    struct stat st {};
    if (lstat(own.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid()) {
        return own;
    }
    return base;
}

} // namespace support

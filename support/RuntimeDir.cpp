#include "support/RuntimeDir.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace support {

namespace {

constexpr int kAlternateNames = 9;

bool IsFolder(const char* path) {
    struct stat st {};
    return path != nullptr && *path != '\0' && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder (not a link to one) of this user without group or other write.
bool IsOwnPrivateEntry(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

bool IsPrivateFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == getuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string PrivateTempFolder(std::size_t maxLength) {
    const char* tmp = std::getenv("TMPDIR");
    for (const std::string& base : {std::string(IsFolder(tmp) ? tmp : ""), std::string("/tmp")}) {
        if (base.empty()) {
            continue;
        }
        const std::string own = base + "/skerrin-" + std::to_string(getuid());
        for (int n = 0; n <= kAlternateNames; ++n) {
            const std::string folder = n == 0 ? own : own + "." + std::to_string(n);
            if (maxLength != 0 && folder.size() > maxLength) {
                break;
            }
            mkdir(folder.c_str(), 0700);
            if (IsOwnPrivateEntry(folder)) {
                return folder;
            }
        }
    }
    return {};
}

std::string RuntimeDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && IsPrivateFolder(runtime)) {
        return runtime;
    }
    return PrivateTempFolder();
}

} // namespace support

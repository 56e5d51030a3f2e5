#include "cardshared/Files.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cardsim {

namespace {

std::string EnvironmentText(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A temporary name beside `path` that no other writer uses: the process id
// and a counter. Starts with '.' so folder listings skip it.
std::string TemporaryPath(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    return folder + "/.tmp-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

// Writes `data` to a new temporary file; returns its path, or "" on failure.
std::string WriteTemporary(const std::string& path, std::string_view data, mode_t mode, bool sync,
                           SaveHook hook) {
    const std::string temporary = TemporaryPath(path);
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        return {};
    }
    bool ok = fchmod(fd, mode) == 0;
    if (hook != nullptr) {
        ok = ok && WriteAll(fd, data.data(), data.size() / 2);
        hook(SavePoint::HalfWritten);
        ok = ok && WriteAll(fd, data.data() + data.size() / 2, data.size() - data.size() / 2);
    } else {
        ok = ok && WriteAll(fd, data.data(), data.size());
    }
    ok = ok && (!sync || fsync(fd) == 0);
    ok = close(fd) == 0 && ok;
    if (!ok) {
        unlink(temporary.c_str());
        return {};
    }
    return temporary;
}

void SyncFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

std::string WorldFolderFromEnvironment() {
    if (std::string home = EnvironmentText("TAVL_SIM_HOME"); !home.empty()) {
        return WithoutTrailingSlash(home);
    }
    if (std::string config = EnvironmentText("XDG_CONFIG_HOME"); !config.empty()) {
        return WithoutTrailingSlash(config) + "/Corvane";
    }
    std::string home = EnvironmentText("HOME");
    if (home.empty()) {
        if (const passwd* entry = getpwuid(getuid());
            entry != nullptr && entry->pw_dir != nullptr) {
            home = entry->pw_dir;
        }
    }
    return WithoutTrailingSlash(home.empty() ? "/tmp" : home) + "/.config/Corvane";
}

bool MakeFolders(const std::string& path, mode_t mode) {
    if (path.empty()) {
        return false;
    }
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), mode) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool ReadWholeFile(const std::string& path, std::string& data, std::size_t limit) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    data.clear();
    char chunk[8192];
    bool ok = true;
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 || data.size() + static_cast<std::size_t>(n) > limit) {
            ok = false;
            break;
        }
        if (n == 0) {
            break;
        }
        data.append(chunk, static_cast<std::size_t>(n));
    }
    close(fd);
    return ok;
}

bool WriteFileAtomically(const std::string& path, std::string_view data, mode_t mode, bool sync,
                         SaveHook hook) {
    const std::string temporary = WriteTemporary(path, data, mode, sync, hook);
    if (temporary.empty()) {
        return false;
    }
    if (hook != nullptr) {
        hook(SavePoint::BeforeRename);
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    if (sync) {
        SyncFolder(path);
    }
    return true;
}

bool CreateFileOnce(const std::string& path, std::string_view data, mode_t mode) {
    const std::string temporary = WriteTemporary(path, data, mode, true, nullptr);
    if (temporary.empty()) {
        return false;
    }
    // link() never replaces: a file made meanwhile by another writer stays.
    const bool linked = link(temporary.c_str(), path.c_str()) == 0 || errno == EEXIST;
    unlink(temporary.c_str());
    return linked;
}

} // namespace cardsim

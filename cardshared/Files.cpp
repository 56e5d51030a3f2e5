#include "cardshared/Files.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
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

// A write past the file-size limit raises SIGXFSZ, whose default action
// ends the process. Held back on this thread while the library writes, the
// signal leaves the write to fail with EFBIG, which the save reports; one
// raised meanwhile is taken off the thread so it never arrives later. A
// program that blocks the signal itself keeps it as it would.
class FileSizeSignalHold {
public:
    FileSizeSignalHold() {
        sigemptyset(&signal_);
        sigaddset(&signal_, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &signal_, &previous_);
        sigset_t pending;
        sigemptyset(&pending);
        ours_ = sigismember(&previous_, SIGXFSZ) == 0 && sigpending(&pending) == 0 &&
                sigismember(&pending, SIGXFSZ) == 0;
    }
    ~FileSizeSignalHold() {
        sigset_t pending;
        sigemptyset(&pending);
        if (ours_ && sigpending(&pending) == 0 && sigismember(&pending, SIGXFSZ) == 1) {
            const timespec now{};
            sigtimedwait(&signal_, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    FileSizeSignalHold(const FileSizeSignalHold&) = delete;
    FileSizeSignalHold& operator=(const FileSizeSignalHold&) = delete;

private:
    sigset_t signal_;
    sigset_t previous_;
    bool ours_ = false;
};

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

constexpr std::string_view kTemporaryPrefix = ".tmp-";

// A temporary name beside `path` that no other writer uses: the process id
// and a counter. Starts with '.' so folder listings skip it.
std::string TemporaryPath(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    return folder + "/" + std::string(kTemporaryPrefix) + std::to_string(getpid()) + "-" +
           std::to_string(++counter);
}

// The writer's process id in a temporary file's name (".tmp-PID-N"), or 0
// for any other name.
pid_t TemporaryWriter(std::string_view name) {
    if (name.substr(0, kTemporaryPrefix.size()) != kTemporaryPrefix) {
        return 0;
    }
    name.remove_prefix(kTemporaryPrefix.size());
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == name.size() || dash > 9) {
        return 0;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (i != dash && (name[i] < '0' || name[i] > '9')) {
            return 0;
        }
    }
    pid_t pid = 0;
    for (std::size_t i = 0; i < dash; ++i) {
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

// Writes `data` to a new temporary file; returns its path, or "" on failure.
std::string WriteTemporary(const std::string& path, std::string_view data, mode_t mode, bool sync,
                           SaveHook hook) {
    const FileSizeSignalHold hold;
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
    // Opened without blocking, so a FIFO or a device in a file's place
    // cannot hold the caller; only a regular file is read.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        errno = EINVAL;
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

void RemoveStaleTemporaries(const std::string& folder) {
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (dirFd < 0) {
        return;
    }
    DIR* dir = fdopendir(dirFd);
    if (dir == nullptr) {
        close(dirFd);
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        const pid_t writer = TemporaryWriter(entry->d_name);
        if (writer <= 0 || writer == getpid()) {
            continue;
        }
        // A writer that still runs (or runs as another user) may be in the
        // middle of its save: its file stays.
        if (kill(writer, 0) == 0 || errno != ESRCH) {
            continue;
        }
        struct stat info {};
        if (fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == geteuid()) {
            unlinkat(dirFd, entry->d_name, 0);
        }
    }
    closedir(dir);
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

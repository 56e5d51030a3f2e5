#include "platform/SingleInstance.h"

#include "support/RuntimeDir.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

std::string SingleInstanceLock::LockPath(const std::string& mutexName) {
    const std::string folder = support::RuntimeDirectory();
    if (folder.empty()) {
        return {};
    }
    std::string file = mutexName;
    for (char& c : file) {
        if (c == '/') {
            c = '_';
        }
    }
    return folder + "/" + file + ".lock";
}

std::unique_ptr<SingleInstanceLock>
SingleInstanceLock::Acquire(const std::string& mutexName, Outcome& outcome, std::string& error) {
    outcome = Outcome::Unavailable;
    const std::string path = LockPath(mutexName);
    if (path.empty()) {
        error = "no private runtime folder (XDG_RUNTIME_DIR, or skerrin-" +
                std::to_string(getuid()) + " below the temporary folder)";
        return nullptr;
    }
    // Non-blocking, so a FIFO planted at the path cannot hold the start.
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return nullptr;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        error = path + ": not a regular file";
        return nullptr;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int cause = errno;
        close(fd);
        if (cause == EWOULDBLOCK) {
            outcome = Outcome::HeldElsewhere;
            return nullptr;
        }
        error = path + ": " + std::strerror(cause);
        return nullptr;
    }
    outcome = Outcome::Acquired;
    return std::unique_ptr<SingleInstanceLock>(new SingleInstanceLock(fd));
}

SingleInstanceLock::~SingleInstanceLock() {
    close(fd_);
}

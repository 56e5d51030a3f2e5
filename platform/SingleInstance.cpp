#include "platform/SingleInstance.h"

#include "support/RuntimeDir.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

std::string SingleInstanceLock::LockPath(const std::string& mutexName) {
    std::string file = mutexName;
    for (char& c : file) {
        if (c == '/') {
            c = '_';
        }
    }
    return support::RuntimeDirectory() + "/" + file + ".lock";
}

std::unique_ptr<SingleInstanceLock> SingleInstanceLock::Acquire(const std::string& mutexName) {
    const std::string path = LockPath(mutexName);
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // Without a lock file there is no way to tell; run rather than refuse.
        return std::unique_ptr<SingleInstanceLock>(new SingleInstanceLock(-1));
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<SingleInstanceLock>(new SingleInstanceLock(fd));
}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

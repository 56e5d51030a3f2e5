// The named single-instance mutex: an advisory lock on a file named after
// the mutex in the user's runtime folder. The kernel drops the lock when
// the process ends, however it ends, so a stale file never blocks a start.
#pragma once

#include <memory>
#include <string>

class SingleInstanceLock {
public:
    // The lock, or nullptr when another process holds it.
    static std::unique_ptr<SingleInstanceLock> Acquire(const std::string& mutexName);
    // The lock file used for a mutex name.
    static std::string LockPath(const std::string& mutexName);

    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

private:
    explicit SingleInstanceLock(int fd) : fd_(fd) {}
    int fd_;
};

// The named single-instance mutex: an advisory lock on a file named after
// the mutex in the user's private runtime folder. The kernel drops the lock
// when the process ends, however it ends, so a stale file never blocks a
// start.
#pragma once

#include <memory>
#include <string>

class SingleInstanceLock {
public:
    enum class Outcome {
        Acquired,      // this process is the one instance
        HeldElsewhere, // another process of this user holds it
        Unavailable,   // no lock can be had: no private folder, or its file unusable
    };

    // The lock when the outcome is Acquired; `error` says why when it is
    // Unavailable.
    static std::unique_ptr<SingleInstanceLock> Acquire(const std::string& mutexName,
                                                       Outcome& outcome, std::string& error);
    // The lock file used for a mutex name; empty without a private folder.
    static std::string LockPath(const std::string& mutexName);

    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

private:
    explicit SingleInstanceLock(int fd) : fd_(fd) {}
    int fd_;
};

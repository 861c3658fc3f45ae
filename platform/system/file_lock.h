// An advisory lock on a lock file (flock), shared between processes and between threads:
// every FileLock opens its own descriptor, so two objects exclude each other even inside
// one process. The lock goes away with the descriptor, so a crashed holder never leaves
// it taken.
//
// Contract: one object per thread at a time; lock() waits at most the given time and
// never blocks for ever; the destructor unlocks. Errors are reported by the results.
#pragma once

#include <chrono>
#include <string>

namespace platform::system {

class FileLock {
  public:
    enum class Mode { Shared, Exclusive };

    // Creates the lock file (mode 0600) when needed; the lock is not taken yet.
    explicit FileLock(std::string path);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // Takes the lock, waiting up to `timeout`; false when the time ran out or the lock file
    // could not be opened.
    bool lock(std::chrono::milliseconds timeout, Mode mode = Mode::Exclusive);
    bool tryLock(Mode mode = Mode::Exclusive) { return lock(std::chrono::milliseconds(0), mode); }
    void unlock();

    bool isLocked() const { return locked_; }
    const std::string& path() const { return path_; }

  private:
    bool openFile();

    std::string path_;
    int descriptor_ = -1;
    bool locked_ = false;
};

}  // namespace platform::system

// A mutex shared by name between processes (and threads): a lock file in the runtime
// folder (folders.h) held with flock. The name may hold any characters ("Global\Name");
// they are spelled into a safe file name. A holder that dies releases it.
//
// Contract: one object per thread at a time; lock() waits at most the given time; the
// destructor releases. False from lock()/tryLock() when another holder has it, the time
// ran out, or there is no runtime folder.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "platform/system/file_lock.h"

namespace platform::system {

class NamedMutex {
  public:
    explicit NamedMutex(std::wstring_view name);

    bool lock(std::chrono::milliseconds timeout);
    bool tryLock() { return lock(std::chrono::milliseconds(0)); }
    void unlock();
    bool isLocked() const { return file_ && file_->isLocked(); }

    // The lock file ("" when there is no runtime folder).
    std::string path() const { return file_ ? file_->path() : std::string(); }

  private:
    std::unique_ptr<FileLock> file_;
};

// The lock-file name for a mutex name: letters, digits, "-", "_" and "." stay, every other
// byte of the UTF-8 form becomes "%XX", so distinct names never share a file.
std::string lockFileName(std::wstring_view name);

}  // namespace platform::system

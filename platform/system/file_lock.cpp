#include "platform/system/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace platform::system {

FileLock::FileLock(std::string path) : path_(std::move(path)) {}

FileLock::~FileLock() {
    unlock();
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

bool FileLock::openFile() {
    if (descriptor_ < 0) {
        descriptor_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    }
    return descriptor_ >= 0;
}

bool FileLock::lock(std::chrono::milliseconds timeout, Mode mode) {
    if (locked_) {
        return true;
    }
    if (!openFile()) {
        return false;
    }
    const int operation = (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::microseconds(200);
    while (true) {
        if (flock(descriptor_, operation) == 0) {
            locked_ = true;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
}

void FileLock::unlock() {
    if (locked_) {
        flock(descriptor_, LOCK_UN);
        locked_ = false;
    }
}

}  // namespace platform::system

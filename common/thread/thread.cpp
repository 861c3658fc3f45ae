#include "common/thread/thread.h"

#include <atomic>

namespace common {

namespace {

std::uint32_t nextThreadId() {
    static std::atomic<std::uint32_t> counter{0};
    std::uint32_t id = ++counter;
    while (id == 0)
        id = ++counter;
    return id;
}

}  // namespace

CThreadT<1>::~CThreadT() {
    stopAndJoin();
}

std::uint32_t CThreadT<1>::threadId() const {
    std::lock_guard lock(mutex_);
    return id_;
}

bool CThreadT<1>::hasThread() const {
    return threadId() != 0;
}

bool CThreadT<1>::isRunning() const {
    std::lock_guard lock(mutex_);
    return running_;
}

std::uint32_t CThreadT<1>::exitStatus() const {
    std::lock_guard lock(mutex_);
    return status_;
}

void CThreadT<1>::requestStop() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    changed_.notify_all();
}

bool CThreadT<1>::stopRequested() const {
    std::lock_guard lock(mutex_);
    return stopRequested_;
}

bool CThreadT<1>::waitForEnd(std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [this] { return !running_; });
}

void CThreadT<1>::stopAndJoin() {
    requestStop();
    if (thread_.joinable())
        thread_.join();
}

bool CThreadT<1>::launch(std::function<std::uint32_t()> procedure) {
    std::lock_guard lock(mutex_);
    if (id_ != 0)
        return false;
    id_ = nextThreadId();
    running_ = true;
    thread_ = std::thread([this, procedure = std::move(procedure)] {
        const std::uint32_t status = procedure();
        {
            std::lock_guard done(mutex_);
            status_ = status;
            running_ = false;
        }
        changed_.notify_all();
    });
    return true;
}

bool CThreadT<1>::sleepUnlessStopped(std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, limit, [this] { return stopRequested_; });
}

}  // namespace common

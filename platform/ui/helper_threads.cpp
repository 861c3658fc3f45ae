#include "platform/ui/helper_threads.h"

namespace platform::ui {

HelperThreads::~HelperThreads() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& helper : helpers_)
        helper.join();
}

void HelperThreads::run(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    // Every waiting task needs a helper of its own: one that is busy may be running the
    // task its caller waits for while that caller started this one.
    if (idle_ >= tasks_.size()) {
        wake_.notify_one();
        return;
    }
    helpers_.emplace_back([this] { serve(); });
}

void HelperThreads::serve() {
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        --idle_;
        if (tasks_.empty())
            return;
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        task();
        task = nullptr;
        lock.lock();
    }
}

}  // namespace platform::ui

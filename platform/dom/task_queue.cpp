#include "platform/dom/task_queue.h"

#include "platform/dom/document.h"

namespace platform::dom {

bool TaskQueue::post(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    if (closed_ || !task)
        return false;
    tasks_.push_back(std::move(task));
    return true;
}

std::size_t TaskQueue::runPending() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(tasks_);
    }
    for (auto& task : batch)
        task();
    return batch.size();
}

void TaskQueue::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    tasks_.clear();
}

bool DocumentProxy::post(std::function<void(Document&)> task) const {
    if (!task)
        return false;
    return queue_->post([document = document_, task = std::move(task)] {
        if (auto alive = document.lock())
            task(*alive);
    });
}

}  // namespace platform::dom

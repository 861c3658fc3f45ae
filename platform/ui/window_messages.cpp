#include <algorithm>
#include <exception>

#include "platform/ui/window_system_impl.h"

namespace platform::ui {

using std::chrono::milliseconds;

bool WindowSystem::Impl::serveOneSent(std::unique_lock<std::mutex>& lock) {
    auto& queue = queues[std::this_thread::get_id()];
    if (queue.sent.empty())
        return false;
    const auto pending = queue.sent.front();
    queue.sent.pop_front();
    const WindowRecord* record = find(pending->message.window);
    const auto proc = record ? record->proc : nullptr;
    lock.unlock();
    const LRESULT result = proc && *proc ? (*proc)(pending->message) : 0;
    lock.lock();
    pending->result = result;
    pending->done = true;
    changed.notify_all();
    return true;
}

bool WindowSystem::sendMessage(const Message& message, LRESULT* result, milliseconds limit) {
    std::unique_lock lock(impl_->mutex);
    const WindowRecord* record = impl_->find(message.window);
    if (!record)
        return false;
    if (record->thread == std::this_thread::get_id()) {
        const auto proc = record->proc;
        lock.unlock();
        const LRESULT value = proc && *proc ? (*proc)(message) : 0;
        if (result)
            *result = value;
        return true;
    }
    const std::thread::id ownerThread = record->thread;
    auto pending = std::make_shared<PendingSend>();
    pending->message = message;
    impl_->queues[ownerThread].sent.push_back(pending);
    impl_->changed.notify_all();
    const auto deadline = limit == kNoLimit ? std::chrono::steady_clock::time_point::max()
                                            : std::chrono::steady_clock::now() + limit;
    while (!pending->done) {
        // Serve sends addressed to this thread meanwhile, so two threads sending to each
        // other do not wait for ever.
        if (impl_->serveOneSent(lock))
            continue;
        if (impl_->changed.wait_until(lock, deadline) == std::cv_status::timeout &&
            !pending->done) {
            std::erase(impl_->queues[ownerThread].sent, pending);
            return false;
        }
    }
    if (result)
        *result = pending->result;
    return true;
}

LRESULT WindowSystem::send(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    sendMessage(Message{window, id, wParam, lParam, nullptr}, &result);
    return result;
}

bool WindowSystem::sendCopyData(HWND target, HWND sender, CopyData record, LRESULT* result,
                                milliseconds limit) {
    Message message{target, WM_COPYDATA, static_cast<WPARAM>(sender.value), 0,
                    std::make_shared<const CopyData>(std::move(record))};
    return sendMessage(message, result, limit);
}

bool WindowSystem::postMessage(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    if (!record)
        return false;
    impl_->queues[record->thread].posted.push_back(Message{window, id, wParam, lParam, nullptr});
    impl_->changed.notify_all();
    return true;
}

void WindowSystem::postQuitMessage(int exitCode) {
    std::lock_guard lock(impl_->mutex);
    impl_->queues[std::this_thread::get_id()].quitCode = exitCode;
    impl_->changed.notify_all();
}

std::optional<std::pair<WaitResult, Message>> WindowSystem::Impl::takeAvailable(
    std::unique_lock<std::mutex>& lock, milliseconds& untilTimer) {
    auto& impl = *this;
    while (impl.serveOneSent(lock)) {
    }
    const auto self = std::this_thread::get_id();
    auto& queue = impl.queues[self];
    if (!queue.posted.empty()) {
        Message message = std::move(queue.posted.front());
        queue.posted.pop_front();
        return std::pair{WaitResult::message, std::move(message)};
    }
    if (queue.quitCode) {
        Message quit{HWND{}, WM_QUIT, static_cast<WPARAM>(*queue.quitCode), 0, nullptr};
        queue.quitCode.reset();
        return std::pair{WaitResult::quit, quit};
    }
    for (auto& [window, record] : impl.windows) {
        if (record.needsPaint && record.thread == self) {
            record.needsPaint = false;
            return std::pair{WaitResult::message, Message{window, WM_PAINT, 0, 0, nullptr}};
        }
    }
    const milliseconds now = impl.clock->now();
    Timer* next = nullptr;
    for (Timer& timer : impl.timers) {
        const WindowRecord* record = impl.find(timer.window);
        if (record && record->thread == self && (!next || timer.due < next->due))
            next = &timer;
    }
    untilTimer = WindowSystem::kNoLimit;
    if (!next)
        return std::nullopt;
    if (next->due > now) {
        untilTimer = next->due - now;
        return std::nullopt;
    }
    next->due = now + next->period;
    return std::pair{WaitResult::message, Message{next->window, WM_TIMER, next->id, 0, nullptr}};
}

WaitResult WindowSystem::getMessage(Message& out, milliseconds limit) {
    std::unique_lock lock(impl_->mutex);
    const auto deadline = limit == kNoLimit ? std::chrono::steady_clock::time_point::max()
                                            : std::chrono::steady_clock::now() + limit;
    for (;;) {
        milliseconds untilTimer{0};
        if (auto taken = impl_->takeAvailable(lock, untilTimer)) {
            out = std::move(taken->second);
            return taken->first;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return WaitResult::timeout;
        auto wake = deadline;
        if (untilTimer != kNoLimit)
            wake = std::min(wake, now + impl_->clock->realWaitFor(untilTimer));
        impl_->changed.wait_until(lock, wake);
    }
}

bool WindowSystem::peekMessage(Message& out) {
    std::unique_lock lock(impl_->mutex);
    milliseconds untilTimer{0};
    auto taken = impl_->takeAvailable(lock, untilTimer);
    if (!taken)
        return false;
    out = std::move(taken->second);
    return true;
}

LRESULT WindowSystem::dispatchMessage(const Message& message) {
    std::shared_ptr<WindowProc> proc;
    {
        std::lock_guard lock(impl_->mutex);
        if (const WindowRecord* record = impl_->find(message.window))
            proc = record->proc;
    }
    return proc && *proc ? (*proc)(message) : 0;
}

int WindowSystem::pumpMessages() {
    int count = 0;
    Message message;
    while (peekMessage(message)) {
        if (message.id == WM_QUIT) {
            postQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        dispatchMessage(message);
        ++count;
    }
    return count;
}

bool WindowSystem::pumpUntil(const std::function<bool()>& done, milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return false;
        Message message;
        const auto slice =
            std::min(std::chrono::duration_cast<milliseconds>(deadline - now), milliseconds{20});
        const WaitResult result = getMessage(message, slice);
        if (result == WaitResult::quit) {
            postQuitMessage(static_cast<int>(message.wParam));
            return done();
        }
        if (result == WaitResult::message)
            dispatchMessage(message);
    }
    return true;
}

void WindowSystem::serveSentWhile(const std::function<void()>& work) {
    const auto self = std::this_thread::get_id();
    bool ownsWindows = false;
    {
        std::lock_guard lock(impl_->mutex);
        ownsWindows = std::any_of(impl_->windows.begin(), impl_->windows.end(),
                                  [&](const auto& entry) { return entry.second.thread == self; });
    }
    if (!ownsWindows) {
        work();
        return;
    }
    bool finished = false;  // guarded by the mutex
    std::exception_ptr failure;
    // Once `finished` is set the helper touches nothing of this frame again.
    impl_->helpers.run([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard lock(impl_->mutex);
        finished = true;
        impl_->changed.notify_all();
    });
    {
        std::unique_lock lock(impl_->mutex);
        while (!finished) {
            if (!impl_->serveOneSent(lock))
                impl_->changed.wait(lock);
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

bool WindowSystem::setTimer(HWND window, std::uintptr_t id, milliseconds period) {
    std::lock_guard lock(impl_->mutex);
    if (!impl_->find(window))
        return false;
    const milliseconds due = impl_->clock->now() + std::max(period, milliseconds{1});
    for (Timer& timer : impl_->timers) {
        if (timer.window == window && timer.id == id) {
            timer.period = period;
            timer.due = due;
            return true;
        }
    }
    impl_->timers.push_back(Timer{window, id, std::max(period, milliseconds{1}), due});
    impl_->changed.notify_all();
    return true;
}

bool WindowSystem::killTimer(HWND window, std::uintptr_t id) {
    std::lock_guard lock(impl_->mutex);
    return std::erase_if(impl_->timers, [&](const Timer& timer) {
               return timer.window == window && timer.id == id;
           }) > 0;
}

bool WindowSystem::hasTimers(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    return std::any_of(impl_->timers.begin(), impl_->timers.end(),
                       [&](const Timer& timer) { return timer.window == window; });
}

}  // namespace platform::ui

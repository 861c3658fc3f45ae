// Private state of WindowSystem, shared by the files that implement the window tree and
// the message queues. Everything here is guarded by `mutex`, except `helpers`.
#pragma once

#include <unistd.h>

#include "platform/ui/helper_threads.h"
#include "platform/ui/window_system.h"

namespace platform::ui {

struct WindowRecord {
    std::wstring className;
    std::wstring title;
    HWND parent;
    HWND owner;
    std::vector<HWND> children;  // top of the z-order first
    Rect rect;                   // in the parent's client coordinates
    bool visible = true;
    bool enabled = true;
    bool needsPaint = false;
    int controlId = 0;
    std::intptr_t userData = 0;
    std::uint32_t processId = static_cast<std::uint32_t>(::getpid());
    std::thread::id thread;
    ControlState control;
    std::shared_ptr<WindowProc> proc;
    std::shared_ptr<const imaging::Bitmap> picture;  // what the window painted last
    std::uint64_t imageVersion = 0;                  // see WindowSystem::imageVersion
};

struct PendingSend {
    Message message;
    bool done = false;
    LRESULT result = 0;
};

struct ThreadQueue {
    std::deque<Message> posted;
    std::deque<std::shared_ptr<PendingSend>> sent;
    std::optional<int> quitCode;
};

struct Timer {
    HWND window;
    std::uintptr_t id = 0;
    std::chrono::milliseconds period{0};
    std::chrono::milliseconds due{0};
};

struct WindowSystem::Impl {
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::shared_ptr<Clock> clock = std::make_shared<SteadyClock>();
    std::uint64_t nextHandle = 1;
    std::unordered_map<HWND, WindowRecord> windows;
    std::vector<HWND> topLevel;  // top of the z-order first
    std::unordered_map<std::thread::id, ThreadQueue> queues;
    std::vector<Timer> timers;
    HWND foreground;
    HWND active;
    HWND focus;
    std::uint64_t imageChanges = 0;
    const void* foregroundOwner = nullptr;
    std::shared_ptr<std::function<void(HWND)>> foregroundObserver;

    WindowRecord* find(HWND window) {
        const auto it = windows.find(window);
        return it == windows.end() ? nullptr : &it->second;
    }
    const WindowRecord* find(HWND window) const {
        const auto it = windows.find(window);
        return it == windows.end() ? nullptr : &it->second;
    }
    // The window's current image, and so its ancestors', may have changed: each gets a new
    // image version. The caller holds the lock.
    void imageTouched(HWND window) {
        const std::uint64_t version = ++imageChanges;
        for (WindowRecord* record = find(window); record; record = find(record->parent))
            record->imageVersion = version;
    }
    std::vector<HWND>& siblingsOf(const WindowRecord& record) {
        return record.parent ? windows.at(record.parent).children : topLevel;
    }
    // Handles one message sent to this thread by another; unlocks while the procedure runs.
    bool serveOneSent(std::unique_lock<std::mutex>& lock);
    // Takes the calling thread's next available message (sent messages are served first).
    // Nothing when none is there; `untilTimer` then holds the time until this thread's next
    // timer falls due on the clock, or kNoLimit.
    std::optional<std::pair<WaitResult, Message>> takeAvailable(
        std::unique_lock<std::mutex>& lock, std::chrono::milliseconds& untilTimer);

    // The threads serveSentWhile runs its work on; last, so they end before the rest goes.
    HelperThreads helpers;
};

}  // namespace platform::ui

#include "addon/export/capture/page_access.h"

#include <condition_variable>
#include <memory>
#include <mutex>

namespace addon {

namespace {

// One piece of work handed to the page's thread, shared by the poster and the posted
// task, so that whichever side comes last still finds it.
struct PostedWork {
    enum class State { waiting, running, done, abandoned };

    std::mutex mutex;
    std::condition_variable changed;
    State state = State::waiting;
    bool failed = false;
    PageWork work;
};

}  // namespace

bool DirectPageAccess::run(const PageWork& work, bool /*evenWhenStopped*/) {
    try {
        work(page_);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

bool ProxiedPageAccess::run(const PageWork& work, bool evenWhenStopped) {
    if (!evenWhenStopped && stopped_())
        return false;
    auto posted = std::make_shared<PostedWork>();
    posted->work = work;
    const bool queued = page_.post([posted](platform::dom::Document& page) {
        {
            std::lock_guard lock(posted->mutex);
            if (posted->state != PostedWork::State::waiting)
                return;
            posted->state = PostedWork::State::running;
        }
        bool failed = false;
        try {
            posted->work(page);
        } catch (const std::exception&) {
            failed = true;
        }
        std::lock_guard lock(posted->mutex);
        posted->failed = failed;
        posted->state = PostedWork::State::done;
        posted->changed.notify_all();
    });
    if (!queued)
        return false;

    // Waits in short slices so that a raised stop flag is seen soon.
    constexpr std::chrono::milliseconds kSlice{20};
    const auto deadline = std::chrono::steady_clock::now() + limit_;
    std::unique_lock lock(posted->mutex);
    while (posted->state != PostedWork::State::done) {
        const bool givingUp =
            (!evenWhenStopped && stopped_()) || std::chrono::steady_clock::now() >= deadline;
        // Work already running is waited for: it refers to the caller's locals.
        if (givingUp && posted->state == PostedWork::State::waiting) {
            posted->state = PostedWork::State::abandoned;
            return false;
        }
        posted->changed.wait_for(lock, kSlice);
    }
    return !posted->failed;
}

}  // namespace addon

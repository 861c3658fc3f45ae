#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/ui/helper_threads.h"

namespace {

using platform::ui::HelperThreads;

// Waits (at most a generous limit) until `done` holds.
bool waitFor(std::mutex& mutex, std::condition_variable& changed,
             const std::function<bool()>& done) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(30), done);
}

TEST(HelperThreads, EachTaskRunsAndATaskWaitingForAnotherDoesNotBlockIt) {
    HelperThreads helpers;
    std::mutex mutex;
    std::condition_variable changed;
    int ran = 0;
    for (int i = 0; i < 50; ++i) {
        helpers.run([&] {
            std::lock_guard lock(mutex);
            ++ran;
            changed.notify_all();
        });
    }
    EXPECT_TRUE(waitFor(mutex, changed, [&] { return ran == 50; }));

    // The outer task starts the inner one and waits for it: the inner one must get a
    // helper of its own although the outer one keeps its helper busy.
    bool innerDone = false;
    bool outerDone = false;
    helpers.run([&] {
        helpers.run([&] {
            std::lock_guard lock(mutex);
            innerDone = true;
            changed.notify_all();
        });
        const bool innerRan = waitFor(mutex, changed, [&] { return innerDone; });
        std::lock_guard lock(mutex);
        outerDone = innerRan;
        changed.notify_all();
    });
    EXPECT_TRUE(waitFor(mutex, changed, [&] { return outerDone; }));
}

}  // namespace

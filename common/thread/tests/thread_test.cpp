#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "common/thread/thread.h"

using namespace std::chrono_literals;

namespace {

// Records in its procedure what its constructor set last, so a thread that ran before the
// object was complete would be seen.
class Counter : public common::CThreadImpl<Counter> {
  public:
    explicit Counter(bool startNow) {
        ready = 42;
        if (startNow)
            resume();
    }
    ~Counter() override { stopAndJoin(); }

    static std::uint32_t threadProc(Counter* self) {
        self->seenReady = self->ready;
        while (self->sleepUnlessStopped(1ms))
            ++self->rounds;
        return 7;
    }

    int ready = 0;
    std::atomic<int> seenReady{-1};
    std::atomic<int> rounds{0};
};

class Quick : public common::CThreadImpl<Quick> {
  public:
    Quick() { resume(); }
    static std::uint32_t threadProc(Quick*) { return 3; }
};

class Sleeper : public common::CThreadImpl<Sleeper> {
  public:
    Sleeper() { resume(); }
    ~Sleeper() override { stopAndJoin(); }
    static std::uint32_t threadProc(Sleeper* self) {
        self->completedWait = self->sleepUnlessStopped(60s);
        return 0;
    }
    std::atomic<bool> completedWait{true};
};

}  // namespace

TEST(WorkerThread, StartsOnlyAfterTheObjectIsBuiltAndStopsOnDestruction) {
    auto worker = std::make_unique<Counter>(true);
    EXPECT_TRUE(worker->hasThread());
    EXPECT_NE(worker->threadId(), 0u);
    while (worker->rounds < 3)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(worker->seenReady, 42);
    EXPECT_TRUE(worker->isRunning());
    worker->stopAndJoin();
    EXPECT_FALSE(worker->isRunning());
    EXPECT_EQ(worker->exitStatus(), 7u);
    // Destroying a running worker stops and joins it rather than leaving the thread behind.
    auto running = std::make_unique<Counter>(true);
    while (running->rounds < 1)
        std::this_thread::sleep_for(1ms);
    running.reset();
}

TEST(WorkerThread, SuspendedWorkerRunsNothingUntilResumed) {
    Counter worker(false);
    EXPECT_FALSE(worker.hasThread());
    EXPECT_EQ(worker.threadId(), 0u);
    EXPECT_TRUE(worker.waitForEnd(0ms));
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(worker.seenReady, -1);
    EXPECT_TRUE(worker.resume());
    EXPECT_FALSE(worker.resume());
    while (worker.rounds < 1)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(worker.seenReady, 42);
}

TEST(WorkerThread, EndedWorkerIsDestroyedWithoutWaitingAndIdsDiffer) {
    Quick first;
    Quick second;
    ASSERT_TRUE(first.waitForEnd(5s));
    ASSERT_TRUE(second.waitForEnd(5s));
    EXPECT_EQ(first.exitStatus(), 3u);
    EXPECT_FALSE(first.isRunning());
    EXPECT_NE(first.threadId(), second.threadId());
}

TEST(WorkerThread, StopInterruptsALongWait) {
    const auto start = std::chrono::steady_clock::now();
    {
        Sleeper sleeper;
        EXPECT_FALSE(sleeper.waitForEnd(20ms));
        sleeper.requestStop();
        ASSERT_TRUE(sleeper.waitForEnd(5s));
        EXPECT_FALSE(sleeper.completedWait);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

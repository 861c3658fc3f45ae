// Threads kept to run tasks that their callers wait for (WindowSystem::serveSentWhile): a
// task goes to an idle helper, or to a new one when all are busy, so a task never waits
// for another (a caller waiting for its task may start a second one meanwhile). Helpers
// stay for the next tasks instead of a thread being made and ended for each, which cost
// a thread's start, its stack's release and its heap's clean-up every time.
//
// Contract: run() from any thread. A task must not throw. The destructor ends the helpers
// after their tasks; nobody may call run() once it has begun.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::ui {

class HelperThreads {
  public:
    HelperThreads() = default;
    ~HelperThreads();
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;

    void run(std::function<void()> task);

  private:
    void serve();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    std::vector<std::thread> helpers_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
};

}  // namespace platform::ui

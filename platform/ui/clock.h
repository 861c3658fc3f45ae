// The time source of the window system's timers and tick count. SteadyClock follows the
// machine's monotonic clock; ManualClock moves only when a test advances it. Both are
// thread-safe.
#pragma once

#include <atomic>
#include <chrono>

namespace platform::ui {

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start.
    virtual std::chrono::milliseconds now() const = 0;
    // How long a waiting message loop may sleep in real time when the next timer falls due
    // after `untilDue` on this clock. A manual clock answers with short slices, so a loop
    // notices an advance soon.
    virtual std::chrono::milliseconds realWaitFor(std::chrono::milliseconds untilDue) const = 0;
};

class SteadyClock final : public Clock {
  public:
    std::chrono::milliseconds now() const override;
    std::chrono::milliseconds realWaitFor(std::chrono::milliseconds untilDue) const override;
};

class ManualClock final : public Clock {
  public:
    explicit ManualClock(std::chrono::milliseconds start = std::chrono::milliseconds{0})
        : now_(start.count()) {}
    std::chrono::milliseconds now() const override;
    std::chrono::milliseconds realWaitFor(std::chrono::milliseconds untilDue) const override;
    void advance(std::chrono::milliseconds by) { now_ += by.count(); }

  private:
    std::atomic<std::chrono::milliseconds::rep> now_;
};

}  // namespace platform::ui

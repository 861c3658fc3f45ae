// The time source of the window system's timers and tick count, and of the pauses that
// paced sequences (animation frames) take. SteadyClock follows the machine's monotonic
// clock and pauses for real; ManualClock moves only when a test advances it or a pause
// moves it; SkippingClock follows the machine's clock but takes pauses at once, moving its
// own time on by them, for a host nobody watches. All are thread-safe.
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
    // Lets `duration` of this clock's time pass before returning.
    virtual void pause(std::chrono::milliseconds duration) = 0;
};

class SteadyClock final : public Clock {
  public:
    std::chrono::milliseconds now() const override;
    std::chrono::milliseconds realWaitFor(std::chrono::milliseconds untilDue) const override;
    void pause(std::chrono::milliseconds duration) override;
};

class SkippingClock final : public Clock {
  public:
    std::chrono::milliseconds now() const override;
    std::chrono::milliseconds realWaitFor(std::chrono::milliseconds untilDue) const override;
    void pause(std::chrono::milliseconds duration) override;

  private:
    SteadyClock steady_;
    std::atomic<std::chrono::milliseconds::rep> skipped_{0};
};

class ManualClock final : public Clock {
  public:
    explicit ManualClock(std::chrono::milliseconds start = std::chrono::milliseconds{0})
        : now_(start.count()) {}
    std::chrono::milliseconds now() const override;
    std::chrono::milliseconds realWaitFor(std::chrono::milliseconds untilDue) const override;
    void pause(std::chrono::milliseconds duration) override { advance(duration); }
    void advance(std::chrono::milliseconds by) { now_ += by.count(); }

  private:
    std::atomic<std::chrono::milliseconds::rep> now_;
};

}  // namespace platform::ui

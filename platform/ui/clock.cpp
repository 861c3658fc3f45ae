#include "platform/ui/clock.h"

#include <algorithm>
#include <thread>

namespace platform::ui {

using std::chrono::milliseconds;

milliseconds SteadyClock::now() const {
    return std::chrono::duration_cast<milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

milliseconds SteadyClock::realWaitFor(milliseconds untilDue) const {
    return untilDue;
}

void SteadyClock::pause(milliseconds duration) {
    if (duration > milliseconds{0})
        std::this_thread::sleep_for(duration);
}

milliseconds SkippingClock::now() const {
    return steady_.now() + milliseconds{skipped_.load()};
}

milliseconds SkippingClock::realWaitFor(milliseconds untilDue) const {
    return untilDue;
}

void SkippingClock::pause(milliseconds duration) {
    if (duration > milliseconds{0})
        skipped_ += duration.count();
}

milliseconds ManualClock::now() const {
    return milliseconds{now_.load()};
}

milliseconds ManualClock::realWaitFor(milliseconds untilDue) const {
    return std::min(untilDue, milliseconds{2});
}

}  // namespace platform::ui

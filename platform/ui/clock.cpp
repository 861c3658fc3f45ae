#include "platform/ui/clock.h"

#include <algorithm>

namespace platform::ui {

using std::chrono::milliseconds;

milliseconds SteadyClock::now() const {
    return std::chrono::duration_cast<milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

milliseconds SteadyClock::realWaitFor(milliseconds untilDue) const {
    return untilDue;
}

milliseconds ManualClock::now() const {
    return milliseconds{now_.load()};
}

milliseconds ManualClock::realWaitFor(milliseconds untilDue) const {
    return std::min(untilDue, milliseconds{2});
}

}  // namespace platform::ui

#include "platform/dom/events/event_sink.h"

#include <algorithm>

namespace platform::dom {

std::uint32_t EventSinkList::advise(std::shared_ptr<EventSink> sink) {
    if (!sink)
        return 0;
    std::uint32_t cookie = nextCookie_++;
    sinks_.emplace_back(cookie, std::move(sink));
    return cookie;
}

bool EventSinkList::unadvise(std::uint32_t cookie) {
    auto it = std::find_if(sinks_.begin(), sinks_.end(),
                           [cookie](const auto& entry) { return entry.first == cookie; });
    if (it == sinks_.end())
        return false;
    sinks_.erase(it);
    return true;
}

bool EventSinkList::isAdvised(std::uint32_t cookie) const {
    return std::any_of(sinks_.begin(), sinks_.end(),
                       [cookie](const auto& entry) { return entry.first == cookie; });
}

void EventSinkList::deliver(Event& event) {
    auto snapshot = sinks_;
    for (auto& [cookie, sink] : snapshot)
        if (isAdvised(cookie))
            sink->Invoke(event);
}

}  // namespace platform::dom

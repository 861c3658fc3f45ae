#include "platform/browser/event_source.h"

#include <algorithm>

namespace platform::browser {

std::uint32_t EventSource::advise(com::ComPtr<IDispatch> sink) {
    if (!sink) {
        return 0;
    }
    const std::uint32_t cookie = nextCookie_++;
    sinks_.emplace_back(cookie, std::move(sink));
    return cookie;
}

bool EventSource::unadvise(std::uint32_t cookie) {
    const auto found = std::find_if(sinks_.begin(), sinks_.end(),
                                    [cookie](const auto& sink) { return sink.first == cookie; });
    if (found == sinks_.end()) {
        return false;
    }
    sinks_.erase(found);
    return true;
}

void EventSource::fire(std::int32_t dispid, DispParams& params) {
    const auto sinks = sinks_;
    for (const auto& [cookie, sink] : sinks) {
        sink->Invoke(dispid, &params);
    }
}

}  // namespace platform::browser

// The sinks advised on one event interface of an object (a connection point): advise
// hands out a cookie, unadvise takes the sink away again, fire calls every sink.
//
// Contract: holds a reference to each advised sink. Cookies start at 1 and are never
// reused by the same source. Firing works on a copy of the sink list, so a sink may
// advise or unadvise (even itself) while it is called. Single-threaded.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/browser/dispatch.h"

namespace platform::browser {

class EventSource {
  public:
    std::uint32_t advise(com::ComPtr<IDispatch> sink);
    // False when no sink holds that cookie.
    bool unadvise(std::uint32_t cookie);
    void fire(std::int32_t dispid, DispParams& params);
    std::size_t sinkCount() const { return sinks_.size(); }

  private:
    std::vector<std::pair<std::uint32_t, com::ComPtr<IDispatch>>> sinks_;
    std::uint32_t nextCookie_ = 1;
};

}  // namespace platform::browser

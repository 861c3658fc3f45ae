// Event sinks: the objects that page code advises on a node or a window to hear its events,
// and the cookie-keyed list that holds them.
//
// Contract: a sink is shared; the list keeps it until it is unadvised (or the list goes).
// Cookies start at 1 and are never reused within one list. Delivery works on a snapshot,
// so a sink may advise or unadvise (itself or others) while it is being called; a sink
// unadvised during delivery is not called afterwards. Owner thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "platform/com/hresult.h"

namespace platform::dom {

class Event;

struct EventSink {
    virtual ~EventSink() = default;
    // S_OK when handled; DISP_E_MEMBERNOTFOUND lets the page's default handling run.
    virtual platform::com::HRESULT Invoke(Event& event) = 0;
};

class EventSinkList {
  public:
    std::uint32_t advise(std::shared_ptr<EventSink> sink);
    bool unadvise(std::uint32_t cookie);
    bool empty() const { return sinks_.empty(); }
    // Calls every sink in advise order.
    void deliver(Event& event);

  private:
    bool isAdvised(std::uint32_t cookie) const;

    std::uint32_t nextCookie_ = 1;
    std::vector<std::pair<std::uint32_t, std::shared_ptr<EventSink>>> sinks_;
};

}  // namespace platform::dom

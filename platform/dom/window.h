// The window of a document: the viewport's size, the document's scroll position, where the
// client area sits on the screen, and the sinks that hear the window's own events
// ("resize", "beforeprint", "afterprint").
//
// Contract: owned by its document and used on the document's thread. Scroll positions are
// clamped to what the laid-out page allows. `resizeTo` delivers a "resize" event to the
// window's sinks when the size changed.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/dom/events/event_sink.h"
#include "platform/dom/geometry.h"

namespace platform::dom {

class Document;

class Window {
  public:
    static constexpr Size kDefaultViewport{1024, 768};

    explicit Window(Document& document) : document_(document) {}

    Size viewport() const { return viewport_; }
    int innerWidth() const { return viewport_.width; }
    int innerHeight() const { return viewport_.height; }
    void resizeTo(int width, int height);

    Point scrollPosition() const { return scroll_; }
    void scrollTo(int x, int y);

    // The screen position of the client area's top-left corner (for screenX/screenY).
    Point screenOrigin() const { return screenOrigin_; }
    void setScreenOrigin(Point origin) { screenOrigin_ = origin; }

    std::uint32_t advise(std::shared_ptr<EventSink> sink) { return sinks_.advise(std::move(sink)); }
    bool unadvise(std::uint32_t cookie) { return sinks_.unadvise(cookie); }
    // Delivers a window event (of any type) to the window's sinks.
    void fireEvent(Event& event) { sinks_.deliver(event); }

  private:
    Document& document_;
    Size viewport_ = kDefaultViewport;
    Point scroll_;
    Point screenOrigin_;
    EventSinkList sinks_;
};

}  // namespace platform::dom

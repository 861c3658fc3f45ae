#include "platform/dom/window.h"

#include <algorithm>

#include "platform/dom/document.h"
#include "platform/dom/events/event.h"
#include "platform/dom/layout_engine.h"

namespace platform::dom {

void Window::resizeTo(int width, int height) {
    Size size{std::max(width, 0), std::max(height, 0)};
    if (size == viewport_)
        return;
    viewport_ = size;
    scrollTo(scroll_.x, scroll_.y);
    Event event;
    event.type = L"resize";
    fireEvent(event);
}

void Window::scrollTo(int x, int y) {
    // The top-left corner is where every page can be scrolled: it needs no layout.
    if (x <= 0 && y <= 0) {
        scroll_ = {};
        return;
    }
    Size content = document_.layout().contentSize();
    scroll_.x = std::clamp(x, 0, std::max(0, content.width - viewport_.width));
    scroll_.y = std::clamp(y, 0, std::max(0, content.height - viewport_.height));
}

}  // namespace platform::dom

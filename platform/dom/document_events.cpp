// The event members of Document: bubbling delivery and the mouse and key helpers.
#include "platform/dom/document.h"
#include "platform/dom/events/event_sink.h"
#include "platform/dom/window.h"

namespace platform::dom {

bool Document::fireEvent(Event& event) {
    // The path is taken before delivery, so sinks that move nodes do not change it.
    std::vector<std::shared_ptr<Node>> path;
    for (std::shared_ptr<Node> node = event.srcElement; node; node = node->parentNode())
        path.push_back(node);
    if (path.empty() || path.back().get() != this)
        path.push_back(shared_from_this());
    for (const auto& node : path) {
        if (EventSinkList* sinks = node->sinks())
            sinks->deliver(event);
        if (event.cancelBubble)
            break;
    }
    return !event.defaultPrevented();
}

bool Document::dispatchMouseEvent(std::wstring type, int clientX, int clientY, int button,
                                  KeyModifiers modifiers) {
    Event event;
    event.type = std::move(type);
    event.clientX = clientX;
    event.clientY = clientY;
    Point screen = window_->screenOrigin();
    event.screenX = screen.x + clientX;
    event.screenY = screen.y + clientY;
    event.button = button;
    event.altKey = modifiers.alt;
    event.ctrlKey = modifiers.ctrl;
    event.shiftKey = modifiers.shift;
    auto capture = captureElement();
    event.srcElement = capture && contains(*capture) ? capture : elementFromPoint(clientX, clientY);
    return fireEvent(event);
}

bool Document::dispatchKeyEvent(std::wstring type, int keyCode, KeyModifiers modifiers,
                                bool repeat) {
    Event event;
    event.type = std::move(type);
    event.keyCode = keyCode;
    event.altKey = modifiers.alt;
    event.ctrlKey = modifiers.ctrl;
    event.shiftKey = modifiers.shift;
    event.repeat = repeat;
    event.srcElement = activeElement();
    return fireEvent(event);
}

std::shared_ptr<Element> Document::activeElement() const {
    auto active = active_.lock();
    if (active && contains(*active))
        return active;
    return body();
}

void Document::setActiveElement(const std::shared_ptr<Element>& element) {
    active_ = element;
}

}  // namespace platform::dom

// The event object handed to event sinks, coded as the old browser coded it: button 0
// none, 1 left, 2 right, 4 middle; keyCode a virtual-key code ("A" is 65, Enter 13,
// Delete 46, F8 119); client coordinates relative to the viewport, screen coordinates
// relative to the screen.
//
// Contract: a plain value that sinks read and write during delivery. A sink cancels the
// page's default handling by setting returnValue to false or zero and stops bubbling with
// cancelBubble.
#pragma once

#include <memory>
#include <string>

#include "platform/com/variant.h"

namespace platform::dom {

class Element;

struct KeyModifiers {
    bool alt = false;
    bool ctrl = false;
    bool shift = false;
};

class Event {
  public:
    std::wstring type;  // "mousedown", "keydown", "contextmenu", "resize", ...
    int button = 0;
    bool altKey = false;
    bool ctrlKey = false;
    bool shiftKey = false;
    int keyCode = 0;
    int clientX = 0;
    int clientY = 0;
    int screenX = 0;
    int screenY = 0;
    bool repeat = false;
    std::shared_ptr<Element> srcElement;
    bool cancelBubble = false;
    platform::com::Variant returnValue;  // empty until a sink sets it

    // True when a sink set returnValue to false or to zero.
    bool defaultPrevented() const;
};

}  // namespace platform::dom

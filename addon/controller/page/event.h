// A page event as the document reports it to its handlers: type, button (0 none, 1 left,
// 2 right), modifier keys, key code and auto-repeat, points in client and screen
// coordinates, the source element, and the two answers a handler gives (cancelBubble and
// returnValue). A plain value that the caller owns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "addon/controller/page/node.h"

namespace addon::page {

struct Event {
    std::wstring type;
    std::int32_t button = 0;
    bool altKey = false;
    bool ctrlKey = false;
    bool shiftKey = false;
    std::int32_t keyCode = 0;
    bool repeat = false;
    std::int32_t clientX = 0;
    std::int32_t clientY = 0;
    std::int32_t screenX = 0;
    std::int32_t screenY = 0;
    NodePtr srcElement;

    bool cancelBubble = false;
    // Set (to 0) by a handler that cancels the default action.
    std::optional<std::int16_t> returnValue;
};

}  // namespace addon::page

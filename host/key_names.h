// Key combinations as a host script writes them ("ctrl+s", "ctrl+alt+r", "escape", "f8")
// turned into the page's key event.
//
// Contract: pure function; nothing on an unknown key name.
#pragma once

#include <optional>
#include <string>

#include "platform/dom/events/event.h"

namespace host {

// A "keydown" event for the combination (modifiers "ctrl", "alt", "shift" joined by "+").
std::optional<platform::dom::Event> keyEvent(const std::wstring& combination);

}  // namespace host

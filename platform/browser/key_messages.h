// Keyboard messages handed to a hosted page before the window's own handling, as a web
// view's accelerator translation does: WM_KEYFIRST..WM_KEYLAST become the page's "keydown"
// or "keyup" event with the modifier keys held at the time.
//
// Contract: the page's user-interface thread. Never throws.
#pragma once

#include "platform/dom/document.h"
#include "platform/ui/message.h"

namespace platform::browser {

inline constexpr ui::UINT WM_KEYFIRST = 0x0100;
inline constexpr ui::UINT WM_KEYLAST = 0x0108;

bool isKeyMessage(ui::UINT id);

// 0 when the page took the key (a handler cancelled its default handling), 1 when the
// message goes on to the window (also for any message that is not a key).
int translateKeyMessage(dom::Document& page, const ui::Message& message);

}  // namespace platform::browser

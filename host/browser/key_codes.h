// The virtual-key code the page's key events carry for a key of the keyboard: letters as
// their capitals ("A" 65), digits as themselves, F1..F12 112..123, and the named keys
// (Enter 13, Escape 27, Delete 46, arrows 37..40, ...), whatever the modifiers held.
//
// Contract: pure functions; a key without a code gives 0.
#pragma once

#include <gdk/gdk.h>

#include "platform/dom/events/event.h"

namespace host::browser {

int virtualKeyCode(guint keyval);
platform::dom::KeyModifiers keyModifiers(GdkModifierType state);

}  // namespace host::browser

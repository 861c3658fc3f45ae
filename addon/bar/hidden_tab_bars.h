// Keeping the explorer bars of hidden browser tabs at the size of the visible one, so a
// tab that comes to the front shows its side pane at once at the right size. Only the
// browser major versions 7 and 8 keep one bar per tab.
//
// Contract: the browser window's user-interface thread; does nothing when a window on the
// way is missing.
#pragma once

#include "platform/ui/types.h"

namespace addon {

void syncHiddenTabBars(platform::ui::HWND frame);

}  // namespace addon

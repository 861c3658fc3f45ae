// The process's cross-process window service, through which the explorer bar finds the
// side-pane program's windows, adopts its pane and receives the pane's messages. Started
// on first use on the calling (user-interface) thread, which must pump its messages.
//
// Contract: one instance per process; paneWindows() and resetPaneWindows() are called on
// the user-interface thread. If the service cannot start (no runtime folder), lookups still
// work but windows of other processes cannot be adopted here.
#pragma once

#include "platform/ui/cross_process_windows.h"

namespace addon {

platform::ui::CrossProcessWindows& paneWindows();
// Stops the service (its stand-ins go); the next paneWindows() starts a new one.
void resetPaneWindows();

}  // namespace addon

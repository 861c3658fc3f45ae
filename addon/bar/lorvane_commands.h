// The side-pane commands, served through the controller's dispatcher
// (command_extensions.h), and the explorer bar as the browser's bar of class
// kSideBandClass (platform/browser/browser_bars.h):
//   "command-lorvane-show"    shows the side pane's explorer bar in the window's browser;
//   "command-lorvane-close"   hides it;
//   "command-lorvane-switch"  shows it when no visible "LorvaneClient" window is in the
//                             browser's explorer bar, else hides it;
//   "command-lorvane-start-ahead"  starts the side-pane program without waiting, when its
//                             pane is not up yet, so that a "command-lorvane-show" soon after
//                             finds it (or waits less); a save calls it before its own work.
// The first three give the result of the browser's ShowBrowserBar (0 when it succeeded).
//
// Contract: called at start-up on the user-interface thread, before commands run; calling
// it again replaces the former registration. `options` says how the bar's host windows
// start the side-pane program (the default: "lorvane" beside the add-on module).
#pragma once

#include "addon/bar/pane_process.h"

namespace addon {

void registerLorvaneCommands(PaneStartOptions options = {});

// ShowBrowserBar of the window's browser with the side pane's bar; 1 without a browser.
int showLorvane(int windowIndex, bool show);
int toggleLorvane(int windowIndex);

}  // namespace addon

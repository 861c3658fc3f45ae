// The commands and views that libraries above the controller serve, registered with the
// controller in one call: sending (mail, notebook), page exports (PDF, image), the dialogs
// (About, Options, Grab-links), the side pane and the toolbox view. The add-on module calls
// it at start-up, and so does every host that drives the controller directly.
//
// Contract: user-interface thread, before commands run; calling it again changes nothing.
#pragma once

namespace addon {

void registerAddonCommands();

}  // namespace addon

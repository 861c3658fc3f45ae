// Registers the commands that open the add-on's dialogs with the controller's dispatcher
// (command_extensions.h) and installs the Grab-links dialog as the link chooser:
//   "command-toolbar-about"   the About dialog over the browser's window; its "check for
//                             updates" button opens the update page, its link the home page;
//   "command-toolbar-config"  the Options dialog, filled from the stored "\AutoUpdate",
//                             "\Language", "\Theme\Name" and "\PageStyle\Grab"; on OK the
//                             chosen values are stored (a new language is loaded, a new
//                             theme reloads the toolbox); Cancel stores nothing;
//   "command-select-grab-links" chooses its links in the Grab-links dialog.
//
// Contract: called at start-up on the user-interface thread, before commands run; calling
// it again changes nothing.
#pragma once

namespace addon {

void registerDialogCommands();

}  // namespace addon

// Registers the sending commands with the controller's dispatcher (command_extensions.h):
//   "command-send-email"           the clip by mail, addresses from "Mail\From", "Mail\To";
//   "command-send-kindle"          the same with "Mail\Kindle-From", "Mail\Kindle-To";
//   "command-send-onenote"         the clip into a new page of the notebook application;
//   "command-send-onenote/<id>"    the clip added to the existing page with that ID.
//
// Contract: called once at start-up on the user-interface thread, before commands run;
// calling it again changes nothing.
#pragma once

namespace addon {

void registerMailNoteCommands();

}  // namespace addon

// Registers the page-export commands with the controller's dispatcher
// (command_extensions.h):
//   "command-print-pdf"      the Print-to-PDF dialog over the window's page, inside the grab
//                            bracket (a readable page of the selection while it runs);
//   "command-export/image"   the whole page captured to "webpage.png" in the user data
//                            folder, inside the grab bracket.
// Both return 1 for a window without a browser or page, else 2; a capture that cannot be
// written is reported in a message box.
//
// Contract: called once at start-up on the user-interface thread, before commands run;
// calling it again changes nothing.
#pragma once

#include <string>

namespace addon {

void registerExportCommands();

// Where "command-export/image" writes its picture: the user data folder + "/webpage.png".
std::wstring pageImagePath();

}  // namespace addon

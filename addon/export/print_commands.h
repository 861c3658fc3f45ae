// Registers the printing commands with the controller's dispatcher (command_extensions.h):
//   "command-print"                the page as laid out, printed on the default printer of
//                                  CUPS, inside the grab bracket (only the readable page of
//                                  the selection when there is one);
//   "command-print-preview"        the same pages written to a PDF and shown with the
//                                  desktop's program for it, inside the grab bracket;
//   "command-select-grab-preview"  "command-select-grab", and when that was handled, the
//                                  preview of the readable page, which is undone after.
// The PDFs go to the "Printed" folder of the user data folder, named after the page's
// title. A printed job's PDF is removed once CUPS has taken it; when printing fails the
// message says why and where the PDF is kept, so nothing is lost.
// Each returns 1 for a window without a browser or page, else 2.
//
// Contract: called once at start-up on the user-interface thread; calling it again changes
// nothing. The commands run on the user-interface thread.
#pragma once

#include <string>

namespace addon {

void registerPrintCommands();

// Where the printed pages of a page with this title are written.
std::wstring printedPagesPath(const std::wstring& title);

}  // namespace addon

// "command-send-onenote" and "command-send-onenote/<page ID>": the window's clip goes to
// the notebook application, into a new page of its unfiled-notes section (titled with the
// page title) or added to the existing page with that ID. The clip is one outline per
// selected block of every page of the window, in selection order; without selected
// blocks, one outline of the text selection or else of the whole cleaned page.
//
// Contract: the browser's user-interface thread; never throws. Returns 2 when the page
// was written and shown, 1 when the window has no browser or a notebook call failed (an
// error box then says which). Nothing already written to the notebook is undone.
#pragma once

#include <string>

namespace addon {

int sendToOneNote(int windowIndex, const std::wstring& pageId);

}  // namespace addon

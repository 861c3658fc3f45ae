// Taking a clip out of the page and handing it to the repository plug-in: the grab
// bracket (a readable page of the selection first, undone afterwards), the page's URL,
// title, text and cleaned markup, and the plug-in's OnSave or OnExport.
//
// Contract: the browser's user-interface thread only. Both return 1 when the window has no
// browser or the plug-in cannot be bound, 2 otherwise. The page is left as the user saw
// it: the bracket undoes only the readable page it made itself.
#pragma once

#include <string>

namespace addon {

// The markup of a whole document around `markup`, declared as UTF-8.
std::wstring wrapInHtmlSkeleton(const std::wstring& markup);

// "command-save/<folder>": stores the clip through the plug-in's OnSave. After a save the
// plug-in handled, the selection mode returns to default.
int saveToPlugin(int windowIndex, const std::wstring& folder);
// "command-export", "command-export/<folder>": hands the clip to the plug-in's OnExport;
// nothing is grabbed when the plug-in cannot be bound.
int exportToPlugin(int windowIndex, const std::wstring& folder);

}  // namespace addon

// The library's own state, shared by every plug-in object of the process: the collation
// locale, the open repository and the language table. The exports call `acquireLibrary`
// before they hand out an object and `releaseLibrary` after they free one; the load work
// (locale, repository, language) runs when the first object of a batch is made, so
// nothing runs while the library is being mapped, a host that loads the library for each
// save gets it done for each save (even where the system keeps the library mapped), and
// the language table is reloaded only on the user-interface thread (reloadLanguage), where
// the objects read it; worker threads translate through translateText.
//
// Contract: thread-safe.
#pragma once

#include <string>

#include "platform/ui/menu.h"

namespace plugin {

void acquireLibrary();
void releaseLibrary();

// Reloads the language table when the "language" setting names another language than the
// one loaded. Call on the user-interface thread; translations from worker threads
// (translateText) wait while it runs.
void reloadLanguage();
// The translation of `text` in a section of the language table; callable from any thread.
std::wstring translateText(const std::wstring& section, const std::wstring& text);

// Translates a menu with a section of the language table.
void localizeMenu(platform::ui::Menu& menu, const std::wstring& section);
// An error box (translated through the "Message" section) owned by the active window.
void showError(const std::wstring& text);
// An error box of a fixed first line and the reason that follows it, each translated on
// its own (a whole text with a reason in it would match no item).
void showError(const std::wstring& text, const std::wstring& reason);

}  // namespace plugin

// The names the Options dialog and the toolbar menu offer: language files and toolbar
// themes found in the data folders.
//
// Contract: thread-safe, reads the file system on every call; a missing folder gives an
// empty list. Names come in name order.
#pragma once

#include <string>
#include <vector>

namespace addon {

// The titles of the "*.xml" files of a languages folder.
std::vector<std::wstring> languageFileNames(const std::wstring& folder);
// The names of the sub-folders of a themes folder ("<resources>/toolbar").
std::vector<std::wstring> toolbarThemeNames(const std::wstring& folder);

}  // namespace addon

// The toolbar themes that the Options dialog and the toolbar menu offer: the sub-folders of
// the themes folder.
//
// Contract: thread-safe, reads the file system on every call; a missing folder gives an
// empty list. Names come in name order.
#pragma once

#include <string>
#include <vector>

namespace addon {

// The names of the sub-folders of a themes folder ("<resources>/toolbar").
std::vector<std::wstring> toolbarThemeNames(const std::wstring& folder);

}  // namespace addon

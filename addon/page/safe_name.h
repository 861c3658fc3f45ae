// The test for names that commands take from URLs and use in paths (plug-in folders, theme
// names, file names). A pure function.
#pragma once

#include <string>

namespace addon {

// A single path component of letters, digits, "_", "." and "-", not empty and without
// "..": it can only name an entry inside the folder it is joined to.
bool isSafeName(const std::wstring& name);

}  // namespace addon

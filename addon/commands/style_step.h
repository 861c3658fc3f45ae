// Stepping CSS lengths up or down for the font-size and width commands. Pure text functions
// without state; a value they do not understand comes back unchanged.
#pragma once

#include <string>

namespace addon {

// One step of a font size: "12px" +1 gives "13px", "1.5em" +1 gives "1.65em", "small" +1
// gives "medium". Empty or "undefined" gives the empty string.
std::wstring stepFontSize(const std::wstring& value, int step);

// One step of a width: "100%" -150 gives "0%"; absolute and font-relative lengths scale by
// step / 100. Empty or "undefined" gives the empty string.
std::wstring stepLength(const std::wstring& value, int step);

}  // namespace addon

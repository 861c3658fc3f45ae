// Lower-casing and white-space trimming of page text, as the page helpers compare names,
// values and URLs. Pure functions.
#pragma once

#include <string>

namespace addon {

std::wstring lowerText(std::wstring text);
// Without the spaces, tabs, CR, LF and form feeds at both ends.
std::wstring trimSpace(const std::wstring& text);

}  // namespace addon

// Flattening the line breaks of page markup so that it reads as one line where the page
// renders it so. A pure text function without state.
#pragma once

#include <string>

namespace addon {

// Removes every CR; outside "pre" blocks (tag names in either case) each LF becomes a space.
std::wstring flattenLineBreaks(const std::wstring& html);

}  // namespace addon

// Text written into markup for the layout engine's parser: "&", "<" and ">" escaped, and
// '"' as well inside an attribute's value; control characters other than line breaks and
// tabs, which the parser would drop, become spaces.
//
// Contract: a pure function; UTF-8 out.
#pragma once

#include <string>
#include <string_view>

namespace platform::dom {

void appendEscaped(std::string& out, std::wstring_view text, bool attribute);

}  // namespace platform::dom

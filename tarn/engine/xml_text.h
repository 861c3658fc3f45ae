// Writing XML as text: escaping character data and checking element and attribute names.
// Building a large result as text and parsing it once is much faster than creating its
// nodes one by one.
//
// Contract: pure functions, thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace tarn {

// Appends UTF-8 `text` with &, <, >, " and the line and tab characters escaped;
// characters that XML 1.0 does not allow, and ill-formed sequences, become U+FFFD.
void appendEscaped(std::string_view text, std::string& out);

// True for a name that may stand as an element or attribute name (no prefix check).
bool isXmlName(std::wstring_view name);

}  // namespace tarn

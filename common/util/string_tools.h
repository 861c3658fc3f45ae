// Small text tests and cuts used throughout the system.
//
// Contract: pure functions, thread-safe (newGuidText draws from the system's randomness).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace common {

// Exact, case-sensitive comparison of the leading / trailing part.
bool startsWithText(std::wstring_view text, std::wstring_view prefix);
bool endsWithText(std::wstring_view text, std::wstring_view suffix);

// The text before / after the first (with `last`: the last) occurrence of `separator`;
// "" when it does not occur.
std::wstring textBefore(std::wstring_view text, std::wstring_view separator, bool last);
std::wstring textAfter(std::wstring_view text, std::wstring_view separator, bool last);

// The length of `text` without its spaces, CR, LF and TAB.
std::size_t countNonSpace(std::wstring_view text);

// Cuts as many leading characters from each item as `prefix` has, and as many trailing
// ones as `suffix` has; an item shorter than both together becomes "".
void stripEach(std::vector<std::wstring>& items, std::wstring_view prefix,
               std::wstring_view suffix);

// The position where `first` is directly followed by `second`; npos when nowhere.
std::size_t findCharPair(std::wstring_view text, wchar_t first, wchar_t second);

// A new unique identifier spelled "A" + the first field in at least 7 hexadecimal digits,
// then the usual groups: "A%07X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X".
std::wstring newGuidText();

// True when `text` is "true" in any mix of case.
bool isTrueText(std::wstring_view text);

}  // namespace common

// The small pieces of reading an action's words: trimming, splitting at blanks, whole
// numbers.
//
// Contract: pure functions; never throw except std::bad_alloc.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

// The text without leading and trailing blanks (spaces, tabs, line ends).
std::wstring trimmed(const std::wstring& text);
// The words of the text, split at spaces and tabs.
std::vector<std::wstring> wordsOf(const std::wstring& text);
// The value of a word of decimal digits with an optional leading "-" (at most 9 digits).
std::optional<int> wholeNumber(const std::wstring& word);

}  // namespace host

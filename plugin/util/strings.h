// String and list helpers of the repository plug-in. Pure functions, thread-safe, never
// throw except std::bad_alloc. White space is what iswspace says in the C locale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plugin {

// Index of the first character of `text` that is one of `chars`; -1 when none.
int findAny(std::wstring_view text, std::wstring_view chars);
int countChar(std::wstring_view text, wchar_t ch);
bool startsWith(std::wstring_view text, std::wstring_view prefix);
bool endsWith(std::wstring_view text, std::wstring_view suffix);
// The text before (after) the first occurrence of `separator`, or the last one when
// `last`; "" when it does not occur.
std::wstring beforeSeparator(std::wstring_view text, std::wstring_view separator, bool last);
std::wstring afterSeparator(std::wstring_view text, std::wstring_view separator, bool last);

void trimLeft(std::wstring& text);
void trimRight(std::wstring& text);
void trimLeftChars(std::wstring& text, std::wstring_view chars);
void trimRightChars(std::wstring& text, std::wstring_view chars);
// Both ends.
std::wstring trimmed(std::wstring text);

// Empty list for an empty text; otherwise the text trimmed at both ends and cut at every
// `separator` (pieces keep their blanks; two separators in a row give an empty piece).
std::vector<std::wstring> split(std::wstring_view text, std::wstring_view separator);

// The text between the first "://" and the next "/" (or the end); "" when "://" is
// missing or starts the text.
std::wstring urlHost(std::wstring_view url);
// How many characters the parts after each address's third "/" share from their start; an
// address with one or two "/" gives 0, one without "/" is compared from its start.
int urlPathCommonLength(std::wstring_view a, std::wstring_view b);

}  // namespace plugin

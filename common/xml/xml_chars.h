// The characters that XML 1.0 allows in a document, and text made fit to be written into
// one: whatever the wrappers write must load again.
//
// Contract: pure functions, thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace common {

// Tab, line feed, carriage return, U+0020..U+D7FF, U+E000..U+FFFD, U+10000..U+10FFFF.
bool isXmlChar(wchar_t c);

// `text` with every character that XML 1.0 does not allow replaced by U+FFFD.
std::wstring xmlCharacterData(std::wstring_view text);

// xmlCharacterData for a comment: a "--" or a final "-" would end or break it, so a
// blank goes after each such "-".
std::wstring xmlCommentData(std::wstring_view text);

// xmlCharacterData for a processing instruction: a "?>" would end it early, so it
// becomes "? >".
std::wstring xmlInstructionData(std::wstring_view text);

}  // namespace common

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

// xmlCharacterData of UTF-8 `text`, where ill-formed sequences also become U+FFFD: `text`
// itself when it is fit already (the usual case, which costs one scan), else the fitted
// text written into `scratch`.
std::string_view xmlCharacterDataUtf8(std::string_view text, std::string& scratch);

// xmlCharacterData for a comment: a "--" or a final "-" would end or break it, so a
// blank goes after each such "-".
std::wstring xmlCommentData(std::wstring_view text);

// xmlCharacterData for a processing instruction: a "?>" would end it early, so it
// becomes "? >".
std::wstring xmlInstructionData(std::wstring_view text);

}  // namespace common

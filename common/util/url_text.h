// Decoding the percent-escaped text of URLs and finding a URL's host.
//
// Contract: pure functions, thread-safe, any length of input.
#pragma once

#include <string>
#include <string_view>

namespace common {

// "%" followed by two hexadecimal digits (either case) becomes the character with that
// byte value, "+" a space; everything else, a "%" without two digits included, is copied.
std::wstring urlDecode(std::wstring_view text);

// urlDecode, then the decoded bytes read as UTF-8: well-formed sequences of two, three and
// four bytes become their one character; a byte that starts no well-formed sequence
// stays the character of that value. "" for empty input.
std::wstring urlUnescape(std::wstring_view url);

// urlUnescape with every "+" kept as it is: for the paths and queries of "tarn:" URLs,
// where a "+" is part of a name ("C++") rather than an encoded blank.
std::wstring urlUnescapeKeepingPlus(std::wstring_view text);

// The UTF-8 bytes of `text` with every byte but letters, digits and "-._~" written as
// "%" and two upper-case hexadecimal digits: a value that can stand in a URL's query
// without being split at "&", "=" or "#" and reads back whole through urlUnescape.
std::wstring urlEncodeComponent(std::wstring_view text);

// The text between "://" and the next "/" (or the end); "" when "://" is absent or first.
std::wstring hostOfUrl(std::wstring_view url);

}  // namespace common

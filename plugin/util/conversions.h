// Text conversions and encodings of the repository plug-in: wide text to and from byte
// text in a code page, form encoding for request bodies, escaping for XML text, and
// numbers as text. Pure functions, thread-safe; failures give 0 or "" (never throw except
// std::bad_alloc).
#pragma once

#include <string>
#include <string_view>

namespace plugin {

// Converts `text` into `out` in the code page (0: the ANSI code page, UTF-8 here); returns
// the byte count. An empty text or a failed conversion gives 0 and an empty `out`.
int wideToBytes(std::wstring_view text, std::string& out, unsigned codePage);
// The reverse; returns the character count, 0 on empty input or failure.
int bytesToWide(std::string_view bytes, std::wstring& out, unsigned codePage);

// UTF-8 bytes of the text, letters and digits kept, a space as "+", every other byte as
// "%xx" (lower-case hex). Input of more than 1024 bytes gives ""; the result holds at most
// 1023 characters, never a cut escape.
std::wstring formEncode(std::wstring_view text);

// "<", ">", "\"" and "&" as entities; the apostrophe stays.
std::wstring xmlEscape(std::wstring_view text);

std::wstring toText(int value);

}  // namespace plugin

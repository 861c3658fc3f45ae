// Conversion between wide text and byte text in a named character set or a numbered
// code page, through iconv. The "ANSI code page" (0) and 65001 are UTF-8.
//
// Contract: thread-safe (each call opens its own iconv descriptor). Returns std::nullopt
// when the character set is unknown; characters that cannot be represented in the target
// become '?' when encoding, and undecodable bytes become U+FFFD when decoding.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::text {

inline constexpr unsigned kAnsiCodePage = 0;
inline constexpr unsigned kUtf8CodePage = 65001;

// The iconv name of a numbered code page ("UTF-8" for 0 and 65001, "CP1252" for 1252).
std::string codePageName(unsigned codePage);

std::optional<std::string> encode(std::wstring_view text, std::string_view charset);
std::optional<std::wstring> decode(std::string_view bytes, std::string_view charset);

}  // namespace platform::text

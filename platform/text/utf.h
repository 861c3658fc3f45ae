// Conversions between the wide text used inside the program (std::wstring, UTF-32 here)
// and the UTF-8 and UTF-16 forms used at file, network, database and message borders.
//
// Contract: pure functions, thread-safe, never throw except std::bad_alloc. Input that is
// not well-formed (invalid UTF-8 bytes, lone surrogates, code points above U+10FFFF) is
// never dropped silently: each ill-formed sequence becomes one U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace platform::text {

inline constexpr char32_t kReplacementChar = 0xFFFD;

std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view bytes);

std::u16string toUtf16(std::wstring_view text);
std::wstring fromUtf16(std::u16string_view units);

// True when `bytes` is well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

}  // namespace platform::text

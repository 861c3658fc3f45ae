// Conversions between wide text and byte text in a code page (0, the "ANSI code page",
// and 65001 are UTF-8), and the number conversions the settings code uses.
//
// Contract: pure functions, thread-safe, never throw (except std::bad_alloc). Failures
// give 0 and an empty result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace common {

// Replaces `bytes` by `text` in the code page and returns the byte count; 0 (and `bytes`
// empty) for empty text or an unknown code page.
int wideToMultiByte(std::wstring_view text, std::string& bytes, unsigned codePage);

// Replaces `text` by the decoded `bytes` and returns the character count; 0 (and `text`
// empty) for empty input or an unknown code page.
int multiByteToWide(std::string_view bytes, std::wstring& text, unsigned codePage);

// The bytes `text` takes in the ANSI code page.
int ansiLength(std::wstring_view text);

// Leading white space, an optional sign and decimal digits; whatever follows is ignored.
// A number beyond the 32-bit range gives the nearest limit; no digits give 0.
std::int32_t toLong(const std::wstring& text);
// Like toLong for a decimal floating-point number ("C" notation); no number gives 0.
double toDouble(const std::wstring& text);
std::wstring intToString(int number);

}  // namespace common

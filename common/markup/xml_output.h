// Writing parsed text into XML-compatible markup: escaping and the characters that
// XML 1.0 does not allow.
//
// Contract: pure functions, thread-safe. Input is UTF-8 as the HTML parser gives it;
// a byte sequence that is not UTF-8 becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

#include "platform/text/ascii_case.h"

namespace common::markup {

// Appends `text` with "&", "<" and ">" (and '"' when `attribute`) as character references,
// leaving out control characters other than tab, CR and LF, the C1 controls and the
// non-characters U+FFFE and U+FFFF.
void appendEscaped(std::string& out, std::string_view text, bool attribute);

// True when `text` holds nothing but blanks (space, tab, CR, LF, form feed).
bool isBlank(std::string_view text);

using platform::text::lowerAscii;

}  // namespace common::markup

// Judging the inline styles of untrusted markup. A style attribute is split into its
// declarations the way a browser reads them (strings, brackets and comments respected),
// and each one is judged after its CSS escapes and comments are decoded, so that no
// spelling ("exp\72 ession(", "posi/**/tion") hides what a browser would apply.
//
// Contract: pure functions, thread-safe. Values are attribute values as the HTML parser
// gives them, UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace common::markup {

// `css` with its escapes and comments decoded: "\72 " and "\r" read "r", an escape of
// zero, a surrogate or beyond U+10FFFF reads U+FFFD, an escaped line break and a comment
// read nothing.
std::string decodeCss(std::string_view css);

// True when the decoded text can run code in some browser: expression(), script
// addresses, behaviours and bindings (blanks and controls inside the words ignored).
bool isScriptInCss(std::string_view css);

// The style attribute as it may be shown: its declarations as written, without those that
// take an element out of the flow to lie over the page (position other than static,
// relative or sticky); nothing at all when any part of it can run code.
std::optional<std::string> displayStyle(std::string_view style);

}  // namespace common::markup

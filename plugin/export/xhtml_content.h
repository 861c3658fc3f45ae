// Text made fit for XHTML pages of an e-book.
//
// Contract: pure functions, thread-safe (libxml2 is used without global state changes);
// never throw except std::bad_alloc.
#pragma once

#include <string>
#include <string_view>

namespace plugin {

inline constexpr const char* kXhtmlNamespace = "http://www.w3.org/1999/xhtml";

// `text` XML-escaped (< > " &) without the characters XML 1.0 does not allow (control
// characters other than tab, CR and LF; U+FFFE and U+FFFF), as UTF-8.
std::string xmlText(std::wstring_view text);

// The markup as a well-formed XHTML fragment for the inside of a <body> element, as UTF-8.
// Well-formed markup is kept as it is (a whole document gives the content of its body);
// anything else (HTML entities, unclosed elements, a whole HTML document) is read the way
// an HTML parser reads it and written out as XHTML. Comments of malformed markup, prefixed
// names without a declared namespace and characters XML does not allow are dropped.
std::string xhtmlContent(std::wstring_view html);

}  // namespace plugin

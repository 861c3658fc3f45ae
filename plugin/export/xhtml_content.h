// Text made fit for XHTML pages of an e-book.
//
// Contract: pure function, thread-safe; never throws except std::bad_alloc.
#pragma once

#include <string>
#include <string_view>

namespace plugin {

inline constexpr const char* kXhtmlNamespace = "http://www.w3.org/1999/xhtml";

// `text` XML-escaped (< > " &) without the characters XML 1.0 does not allow (control
// characters other than tab, CR and LF; U+FFFE and U+FFFF), as UTF-8.
std::string xmlText(std::wstring_view text);

}  // namespace plugin

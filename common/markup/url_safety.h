// Judging addresses found in untrusted markup.
//
// Contract: pure functions, thread-safe. Values are attribute values as the HTML parser
// gives them (character references decoded), UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace common::markup {

// A browser runs it as a script: "javascript:", "vbscript:" or "livescript:", also with
// blanks, tabs, line breaks or control characters anywhere in it and in any case.
bool isScriptUrl(std::string_view value);
// A "data:" address (read the same forgiving way).
bool isDataUrl(std::string_view value);
// A "data:" address of a PNG, JPEG, GIF, WebP or BMP picture, which cannot hold a script.
bool isPictureDataUrl(std::string_view value);

// The address as a link inside a book: only absolute http, https, ftp and mailto
// addresses, with every character a URI may not hold percent-encoded; "" for any other.
std::string bookLinkTarget(std::string_view value);

}  // namespace common::markup
